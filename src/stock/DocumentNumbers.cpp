#include "stock/DocumentNumbers.h"

namespace {

// Kinds that share a table (receipts and returns, retail and wholesale) are told
// apart by their numbers' prefixes.
struct KindInfo {
    const char16_t *prefix;
    int digits;
    const char16_t *table;
    const char16_t *numberColumn;
};

const KindInfo &info(DocumentKind k)
{
    static const KindInfo kinds[] = {
        {u"JH", 2, u"出库入库总表", u"单据编号"},
        {u"TH", 2, u"出库入库总表", u"单据编号"},
        {u"PD", 2, u"库存盘点总表", u"盘点编号"},
        {u"LS", 4, u"销售总表", u"销售单号"},
        {u"PF", 4, u"销售总表", u"销售单号"},
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
    const QString prefix = q(k.prefix);

    // Today's numbers of the kind all start with the prefix and the day's digits (a
    // range on the number's unique index); the longest and then largest holds the
    // highest counter ("…100" after "…99"). Counting from the stored numbers
    // themselves means the next one is never a number already stored, whatever the
    // auxiliary numbers of an older database say.
    Query &last = db.cachedQuery(QStringLiteral("select %1 as cc from %2 where %1>=:lo and %1<:hi "
                                                "order by length(%1) desc, %1 desc limit 5")
                                     .arg(q(k.numberColumn), q(k.table)));
    last.bind(QStringLiteral("lo"), prefix + day)
        .bind(QStringLiteral("hi"), prefix + today.addDays(1).toString(QStringLiteral("yyyyMMdd")))
        .exec();
    qint64 counter = 0;
    while (last.next()) {
        const QString cc = last.text(QStringLiteral("cc"));
        bool ok = false;
        const qint64 n = cc.mid(prefix.size() + 8).toLongLong(&ok);
        if (ok && cc.mid(prefix.size(), 8) == day && n >= 0) { counter = n; break; }
    }
    last.finish();

    DocumentNumber r;
    r.auxiliary = day + QStringLiteral("%1").arg(counter + 1, k.digits, 10, QLatin1Char('0'));
    r.number = prefix + r.auxiliary;
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
