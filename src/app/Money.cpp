#include "app/Money.h"

#include <cmath>

namespace {

// Divides a 128-bit numerator by a positive divisor, rounding halves to even.
int64_t divRoundEven(__int128 num, __int128 den)
{
    if (den < 0) { num = -num; den = -den; }
    bool neg = num < 0;
    __int128 a = neg ? -num : num;
    __int128 q = a / den;
    __int128 r = a % den;
    __int128 twice = r * 2;
    if (twice > den || (twice == den && (q % 2) == 1))
        ++q;
    return int64_t(neg ? -q : q);
}

} // namespace

Money Money::fromDouble(double v)
{
    // Go through the shortest decimal text so 0.1 + 0.2 style noise never shows.
    return parse(QString::number(v, 'f', 8)).value_or(Money());
}

std::optional<Money> Money::parse(const QString &input)
{
    const QString t = input.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    int i = 0;
    bool neg = false;
    if (t[0] == u'-' || t[0] == u'+') { neg = t[0] == u'-'; ++i; }
    __int128 whole = 0;
    __int128 frac = 0;
    int fracDigits = 0;
    bool any = false, point = false;
    int extraDigit = -1;  // the fifth decimal, for rounding
    bool stickyBeyond = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'.') {
            if (point) return std::nullopt;
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9') return std::nullopt;
        any = true;
        const int d = c.unicode() - u'0';
        if (!point) {
            whole = whole * 10 + d;
            if (whole > (__int128)INT64_MAX / kScale) return std::nullopt;
        } else if (fracDigits < 4) {
            frac = frac * 10 + d; ++fracDigits;
        } else if (extraDigit < 0) {
            extraDigit = d;
        } else if (d != 0) {
            stickyBeyond = true;
        }
    }
    if (!any) return std::nullopt;
    while (fracDigits < 4) { frac *= 10; ++fracDigits; }
    __int128 units = whole * kScale + frac;
    if (extraDigit > 5 || (extraDigit == 5 && (stickyBeyond || (units % 2) == 1)))
        ++units;
    return fromUnits(int64_t(neg ? -units : units));
}

Money Money::fromVariant(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return Money();
    if (v.canConvert<Money>() && v.metaType() == QMetaType::fromType<Money>()) return v.value<Money>();
    switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::ULongLong:
        return fromInt(v.toLongLong());
    case QMetaType::Double: case QMetaType::Float:
        return fromDouble(v.toDouble());
    default:
        return parse(v.toString()).value_or(Money());
    }
}

QString Money::toString() const
{
    const bool neg = units_ < 0;
    const uint64_t a = neg ? uint64_t(-(units_ + 1)) + 1 : uint64_t(units_);
    QString s = QString::number(a / kScale);
    uint64_t f = a % kScale;
    if (f) {
        QString fs = QString::number(f).rightJustified(4, u'0');
        while (fs.endsWith(u'0')) fs.chop(1);
        s += u'.' + fs;
    }
    return neg && units_ != 0 ? u'-' + s : s;
}

QString Money::toSqlText() const
{
    const bool neg = units_ < 0;
    const uint64_t a = neg ? uint64_t(-(units_ + 1)) + 1 : uint64_t(units_);
    return (neg ? QStringLiteral("-") : QString()) + QString::number(a / kScale) + u'.'
        + QString::number(a % kScale).rightJustified(4, u'0');
}

Money Money::operator*(Money o) const
{
    return fromUnits(divRoundEven((__int128)units_ * o.units_, kScale));
}

Money Money::operator/(Money o) const
{
    if (o.units_ == 0) return Money();
    return fromUnits(divRoundEven((__int128)units_ * kScale, o.units_));
}
