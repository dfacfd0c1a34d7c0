#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

// Exact fixed-point amount with four decimals: a 64-bit count of ten-thousandths.
// Every product or quotient is rounded back to four decimals, halves to even.
class Money {
public:
    static constexpr int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(int64_t units) { Money m; m.units_ = units; return m; }
    static Money fromInt(int64_t whole) { return fromUnits(whole * kScale); }
    // Rounds a binary double (as SQLite hands back numeric values) to four decimals.
    static Money fromDouble(double v);
    // Parses "12", "-0.5", "+3.14159" (rounded to four decimals, halves to even),
    // with blanks around; nothing else. Empty text gives nothing.
    static std::optional<Money> parse(const QString &text);
    // Reads a stored value: null or empty reads as 0; numbers and numeric text are exact.
    static Money fromVariant(const QVariant &v);

    int64_t units() const { return units_; }
    double toDouble() const { return double(units_) / kScale; }

    // Shortest decimal form: "178.5", "0", "-3", no thousands separators.
    QString toString() const;
    // Four-decimal text for statements: "178.5000".
    QString toSqlText() const;

    Money operator+(Money o) const { return fromUnits(units_ + o.units_); }
    Money operator-(Money o) const { return fromUnits(units_ - o.units_); }
    Money operator-() const { return fromUnits(-units_); }
    Money &operator+=(Money o) { units_ += o.units_; return *this; }
    Money &operator-=(Money o) { units_ -= o.units_; return *this; }
    Money operator*(Money o) const;   // rounded, halves to even
    Money operator/(Money o) const;   // rounded, halves to even; division by zero gives 0
    auto operator<=>(const Money &) const = default;

private:
    int64_t units_ = 0;
};

Q_DECLARE_METATYPE(Money)
