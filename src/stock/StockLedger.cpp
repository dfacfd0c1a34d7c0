#include "stock/StockLedger.h"

#include <QHash>
#include <memory>

namespace {

// A key column is never NULL: NULLs would not meet in the unique index.
QString keyText(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }

int mask(const StockDescription &d)
{
    return (d.name ? 1 : 0) | (d.articleNo ? 2 : 0) | (d.barcode ? 4 : 0);
}

void bindDescription(Query &q, const StockDescription &d, const QString &prefix)
{
    if (d.name) q.bind(prefix + QStringLiteral("名称"), keyText(*d.name));
    if (d.articleNo) q.bind(prefix + QStringLiteral("货号"), keyText(*d.articleNo));
    if (d.barcode) q.bind(prefix + QStringLiteral("条码"), keyText(*d.barcode));
}

} // namespace

// The statements, one per combination of description columns; they are the
// connection's cached statements, so every posting reuses them.
struct StockLedger::Statements {
    Query *article = nullptr;
    QHash<int, Query *> warehouse;
    QHash<int, Query *> size;
};

StockLedger::StockLedger(Database &db) : db_(db), st_(new Statements) {}

StockLedger::~StockLedger() { delete st_; }

bool StockLedger::AdjustArticleTotal(qint64 articleId, Money delta)
{
    if (!st_->article)
        st_->article = &db_.cachedQuery(QStringLiteral("update 商品列表 set 数量=coalesce(数量,0)+:数量 where id=:id"));
    db_.lockPostings();
    Query &q = *st_->article;
    q.bind(QStringLiteral("数量"), QVariant::fromValue(delta)).bind(QStringLiteral("id"), articleId).exec();
    return q.numRowsAffected() > 0;
}

void StockLedger::AdjustWarehouseStock(qint64 articleId, const QString &warehouse, Money delta,
                                       const StockDescription &newRow)
{
    const int m = mask(newRow) & 3;
    auto &slot = st_->warehouse[m];
    if (!slot) {
        QString cols = QStringLiteral("商品编码,库房名称,数量"), vals = QStringLiteral(":商品编码,:库房名称,:数量");
        if (m & 1) { cols += QStringLiteral(",商品名称"); vals += QStringLiteral(",:新名称"); }
        if (m & 2) { cols += QStringLiteral(",货号"); vals += QStringLiteral(",:新货号"); }
        slot = &db_.cachedQuery(QStringLiteral("insert into 库存总表 (%1) values (%2) on conflict (商品编码,库房名称) "
                                               "do update set 数量=coalesce(库存总表.数量,0)+excluded.数量")
                                    .arg(cols, vals));
    }
    db_.lockPostings();
    Query &q = *slot;
    q.bind(QStringLiteral("商品编码"), articleId)
        .bind(QStringLiteral("库房名称"), keyText(warehouse))
        .bind(QStringLiteral("数量"), QVariant::fromValue(delta));
    StockDescription d = newRow;
    d.barcode.reset();
    bindDescription(q, d, QStringLiteral("新"));
    q.exec();
}

void StockLedger::AdjustSizeStock(qint64 articleId, const QString &warehouse, const QString &size,
                                  const QString &colour, Money delta, const StockDescription &newRow,
                                  const StockDescription &found)
{
    const int m = mask(newRow) | (mask(found) << 3);
    auto &slot = st_->size[m];
    if (!slot) {
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
        slot = &db_.cachedQuery(QStringLiteral("insert into 库存尺码表 (%1) values (%2) "
                                               "on conflict (商品编码,库房名称,商品尺码,颜色) do update set %3")
                                    .arg(cols, vals, set));
    }
    db_.lockPostings();
    Query &q = *slot;
    q.bind(QStringLiteral("商品编码"), articleId)
        .bind(QStringLiteral("库房名称"), keyText(warehouse))
        .bind(QStringLiteral("商品尺码"), keyText(size))
        .bind(QStringLiteral("颜色"), keyText(colour))
        .bind(QStringLiteral("数量"), QVariant::fromValue(delta));
    bindDescription(q, newRow, QStringLiteral("新"));
    bindDescription(q, found, QStringLiteral("改"));
    q.exec();
}
