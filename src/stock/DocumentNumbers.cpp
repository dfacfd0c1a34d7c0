#include "stock/DocumentNumbers.h"

namespace {

struct KindInfo {
    const char16_t *prefix;
    int digits;
    const char16_t *table;
    const char16_t *auxColumn;
    const char16_t *numberColumn;
    const char16_t *typeColumn;   // nullptr: the table holds one kind only
    const char16_t *typeValue;
};

const KindInfo &info(DocumentKind k)
{
    static const KindInfo kinds[] = {
        {u"JH", 2, u"出库入库总表", u"货单辅助编号", u"单据编号", u"单据类型", u"采购入库"},
        {u"TH", 2, u"出库入库总表", u"货单辅助编号", u"单据编号", u"单据类型", u"采购退货"},
        {u"PD", 2, u"库存盘点总表", u"辅助编号", u"盘点编号", nullptr, nullptr},
        {u"LS", 4, u"销售总表", u"销售辅助单号", u"销售单号", u"销售类型", u"零售"},
        {u"PF", 4, u"销售总表", u"销售辅助单号", u"销售单号", u"销售类型", u"批发"},
    };
    return kinds[int(k)];
}

QString q(const char16_t *s) { return QString::fromUtf16(s); }

} // namespace

QString documentPrefix(DocumentKind kind) { return q(info(kind).prefix); }

int counterDigits(DocumentKind kind) { return info(kind).digits; }

DocumentNumber NextDocumentNumber(Database &db, DocumentKind kind, const QDate &today)
{
    if (!db.inTransaction())
        throw DbError(QStringLiteral("单据编号只能在保存单据的事务中取得"));
    const KindInfo &k = info(kind);
    db.lockPostings();   // held until the document is stored (or rolled back)

    const QString day = today.toString(QStringLiteral("yyyyMMdd"));
    const QString typeFilter = k.typeColumn
        ? QStringLiteral(" and %1=:类型").arg(q(k.typeColumn)) : QString();

    // Today's numbers of the kind all start with the day's digits; the longest and
    // then largest is the highest counter ("…100" after "…99").
    Query &last = db.cachedQuery(QStringLiteral("select %1 as cc from %2 where %1>=:lo and %1<:hi%3 "
                                "order by length(%1) desc, %1 desc limit 5")
                     .arg(q(k.auxColumn), q(k.table), typeFilter));
    last.bind(QStringLiteral("lo"), day).bind(QStringLiteral("hi"), today.addDays(1).toString(QStringLiteral("yyyyMMdd")));
    if (k.typeColumn) last.bind(QStringLiteral("类型"), q(k.typeValue));
    last.exec();
    qint64 counter = 0;
    while (last.next()) {
        const QString cc = last.text(QStringLiteral("cc"));
        bool ok = false;
        const qint64 n = cc.mid(8).toLongLong(&ok);
        if (ok && cc.left(8) == day && n >= 0) { counter = n; break; }
    }
    last.finish();

    Query &used = db.cachedQuery(QStringLiteral("select count(*) as n from %1 where %2=:n").arg(q(k.table), q(k.numberColumn)));
    DocumentNumber r;
    for (;;) {
        ++counter;
        r.auxiliary = day + QStringLiteral("%1").arg(counter, k.digits, 10, QLatin1Char('0'));
        r.number = q(k.prefix) + r.auxiliary;
        used.bind(QStringLiteral("n"), r.number).exec();
        const bool taken = used.next() && used.integer(QStringLiteral("n")) > 0;
        used.finish();
        if (!taken) break;
    }
    return r;
}

QStringList ensureUniqueDocumentNumbers(Database &db)
{
    struct Col { const char16_t *table, *column; };
    static const Col cols[] = {
        {u"出库入库总表", u"单据编号"}, {u"销售总表", u"销售单号"}, {u"库存盘点总表", u"盘点编号"}};
    QStringList problems;
    for (const Col &c : cols) {
        const QString table = q(c.table), column = q(c.column);
        const QString index = QStringLiteral("ux_%1_%2").arg(table, column);
        Query has(db);
        has.prepare(db.isSqlite()
            ? QStringLiteral("select count(*) as n from sqlite_master where type='index' and name=:i")
            : QStringLiteral("select count(*) as n from pg_indexes where schemaname=current_schema() and indexname=:i"));
        has.bind(QStringLiteral("i"), index).exec();
        if (has.next() && has.integer(QStringLiteral("n")) > 0) continue;
        try {
            db.execute(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)").arg(index, table, column));
        } catch (const DbError &) {
            Query dup(db);
            dup.exec(QStringLiteral("select %2 as n from %1 group by %2 having count(*)>1 order by %2 limit 20")
                         .arg(table, column));
            QStringList numbers;
            while (dup.next()) {
                const QString n = dup.text(QStringLiteral("n"));
                numbers << (n.isEmpty() ? QStringLiteral("（空）") : n);
            }
            // No repeated number: the index failed for another reason (a login that
            // may not change the structure); the number rule's lock still holds.
            if (!numbers.isEmpty())
                problems << QStringLiteral("%1.%2：%3").arg(table, column, numbers.join(QStringLiteral("、")));
        }
    }
    return problems;
}
