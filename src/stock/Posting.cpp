#include "stock/Posting.h"

#include "app/Session.h"

#include <QMutex>
#include <QMutexLocker>

PostingContext PostingContext::fromSession(const QDateTime &moment)
{
    const Session &s = session();
    return {s.CurrentUser, s.CurrentBranch, moment, s.PointsDivisor};
}

namespace {

// The text of a stored or typed value; numbers of either engine as they are.
QString valueText(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return QString();
    if (v.metaType() == QMetaType::fromType<Money>()) return v.value<Money>().toSqlText();
    return v.toString().trimmed();
}

} // namespace

Money requireAmount(const QVariant &value, const QString &label, bool emptyIsZero)
{
    if (value.metaType() == QMetaType::fromType<Money>()) return value.value<Money>();
    const QString t = valueText(value);
    if (t.isEmpty()) {
        if (emptyIsZero) return Money();
        throw InputError(QStringLiteral("请输入%1").arg(label));
    }
    if (const auto m = Money::parse(t)) return *m;
    throw InputError(QStringLiteral("%1必须是数字！").arg(label));
}

qint64 requireWholeNumber(const QVariant &value, const QString &label, bool emptyIsZero)
{
    const Money m = requireAmount(value, label, emptyIsZero);
    if (m.units() % Money::kScale != 0)
        throw InputError(QStringLiteral("%1必须是整数！").arg(label));
    return m.units() / Money::kScale;
}

QString NextEntryKey(Database &scratch)
{
    static QMutex mutex;
    static qint64 last = -1;
    QMutexLocker lock(&mutex);
    if (last < 0) {
        // Keys of earlier runs that are still in the scratch tables stay below ours.
        last = 0;
        static const char16_t *tables[] = {u"入库临时表", u"入库尺码临时表", u"出库临时表", u"出库尺码临时表"};
        for (const char16_t *t : tables) {
            Query q(scratch);
            q.exec(QStringLiteral("select max(cast(临时码 as integer)) as k from %1 where 临时码 glob '[0-9]*'")
                       .arg(QString::fromUtf16(t)));
            if (q.next()) last = qMax(last, q.integer(QStringLiteral("k")));
        }
    }
    last = qMax(last + 1, QDateTime::currentMSecsSinceEpoch());
    return QString::number(last);
}
