#include "stock/StockLedger.h"

namespace {

// A key column is never NULL: NULLs would not meet in the unique index.
QString keyText(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }

void bindDescription(Query &q, const StockDescription &d, const QString &prefix)
{
    if (d.name) q.bind(prefix + QStringLiteral("名称"), keyText(*d.name));
    if (d.articleNo) q.bind(prefix + QStringLiteral("货号"), keyText(*d.articleNo));
    if (d.barcode) q.bind(prefix + QStringLiteral("条码"), keyText(*d.barcode));
}

} // namespace

// Each statement text is prepared once per connection (Database::cachedQuery), so
// every line of every posting reuses it.

bool StockLedger::AdjustArticleTotal(qint64 articleId, Money delta)
{
    db_.lockPostings();
    Query &q = db_.cachedQuery(QStringLiteral("update 商品列表 set 数量=coalesce(数量,0)+:数量 where id=:id"));
    q.bind(QStringLiteral("数量"), QVariant::fromValue(delta)).bind(QStringLiteral("id"), articleId).exec();
    return q.numRowsAffected() > 0;
}

void StockLedger::AdjustWarehouseStock(qint64 articleId, const QString &warehouse, Money delta,
                                       const StockDescription &newRow)
{
    QString cols = QStringLiteral("商品编码,库房名称,数量"), vals = QStringLiteral(":商品编码,:库房名称,:数量");
    if (newRow.name) { cols += QStringLiteral(",商品名称"); vals += QStringLiteral(",:新名称"); }
    if (newRow.articleNo) { cols += QStringLiteral(",货号"); vals += QStringLiteral(",:新货号"); }
    db_.lockPostings();
    Query &q = db_.cachedQuery(QStringLiteral("insert into 库存总表 (%1) values (%2) on conflict (商品编码,库房名称) "
                                              "do update set 数量=coalesce(库存总表.数量,0)+excluded.数量")
                                   .arg(cols, vals));
    q.bind(QStringLiteral("商品编码"), articleId)
        .bind(QStringLiteral("库房名称"), keyText(warehouse))
        .bind(QStringLiteral("数量"), QVariant::fromValue(delta));
    StockDescription d = newRow;
    d.barcode.reset();   // 库存总表 has no barcode
    bindDescription(q, d, QStringLiteral("新"));
    q.exec();
}

void StockLedger::AdjustSizeStock(qint64 articleId, const QString &warehouse, const QString &size,
                                  const QString &colour, Money delta, const StockDescription &newRow,
                                  const StockDescription &found)
{
    QString cols = QStringLiteral("商品编码,库房名称,商品尺码,颜色,数量");
    QString vals = QStringLiteral(":商品编码,:库房名称,:商品尺码,:颜色,:数量");
    if (newRow.name) { cols += QStringLiteral(",商品名称"); vals += QStringLiteral(",:新名称"); }
    if (newRow.articleNo) { cols += QStringLiteral(",货号"); vals += QStringLiteral(",:新货号"); }
    if (newRow.barcode) { cols += QStringLiteral(",商品条码"); vals += QStringLiteral(",:新条码"); }
    QString set = QStringLiteral("数量=coalesce(库存尺码表.数量,0)+excluded.数量");
    if (found.name) set += QStringLiteral(",商品名称=:改名称");
    if (found.articleNo) set += QStringLiteral(",货号=:改货号");
    // A sale line without a barcode keeps the barcode the row already has.
    if (found.barcode) set += QStringLiteral(",商品条码=coalesce(nullif(:改条码,''),库存尺码表.商品条码)");
    db_.lockPostings();
    Query &q = db_.cachedQuery(QStringLiteral("insert into 库存尺码表 (%1) values (%2) "
                                              "on conflict (商品编码,库房名称,商品尺码,颜色) do update set %3")
                                   .arg(cols, vals, set));
    q.bind(QStringLiteral("商品编码"), articleId)
        .bind(QStringLiteral("库房名称"), keyText(warehouse))
        .bind(QStringLiteral("商品尺码"), keyText(size))
        .bind(QStringLiteral("颜色"), keyText(colour))
        .bind(QStringLiteral("数量"), QVariant::fromValue(delta));
    bindDescription(q, newRow, QStringLiteral("新"));
    bindDescription(q, found, QStringLiteral("改"));
    q.exec();
}
