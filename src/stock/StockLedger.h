#pragma once

#include "app/Database.h"
#include "app/Money.h"

#include <QString>
#include <optional>

// The descriptive columns of a stock row that a movement writes: on a row it
// creates, and (for the sale kinds) on a row it finds. A column left empty here is
// not written. A filled barcode is never overwritten with an empty one.
struct StockDescription {
    std::optional<QString> name;       // 商品名称
    std::optional<QString> articleNo;  // 货号
    std::optional<QString> barcode;    // 商品条码 (库存尺码表 only)
};

// The three stock stores: 商品列表.数量 (per article), 库存总表 (per article and
// warehouse) and 库存尺码表 (per article, warehouse, size and colour). Every
// movement is one atomic statement (an upsert on the store's unique key), never a
// read followed by a write, so two workstations posting at the same moment lose no
// movement. Quantities may become zero or negative; rows are never deleted here.
// Call inside the posting's transaction: the first movement takes the postings lock
// (Database::lockPostings), so concurrent postings never deadlock on stock rows.
class StockLedger {
public:
    explicit StockLedger(Database &db) : db_(db) {}

    // 商品列表.数量 += delta. Returns false when no article has that id.
    bool AdjustArticleTotal(qint64 articleId, Money delta);

    // 库存总表 (article, warehouse): 数量 += delta, creating the row (with the
    // description's columns) when there is none.
    void AdjustWarehouseStock(qint64 articleId, const QString &warehouse, Money delta,
                              const StockDescription &newRow = {});

    // 库存尺码表 (article, warehouse, size, colour): 数量 += delta, creating the row
    // with newRow's columns when there is none; a found row gets found's columns.
    void AdjustSizeStock(qint64 articleId, const QString &warehouse, const QString &size,
                         const QString &colour, Money delta, const StockDescription &newRow = {},
                         const StockDescription &found = {});

private:
    Database &db_;
};
