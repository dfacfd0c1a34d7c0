#pragma once

#include "app/Database.h"
#include "app/Money.h"

#include <QString>
#include <vector>

// The lines an entry window has collected in the scratch database, read in one
// place and checked strictly: an article code or amount that is not a number throws
// InputError (naming the line), so a posting never stores a 0 that was typed as text.
// Lines come in the order they were entered.

// 入库临时表: one article line of a purchase receipt (or of an edited one).
struct StockInLine {
    qint64 rowId = 0;
    qint64 articleId = 0;      // 商品编码
    QString name, articleNo, entryKey, documentNumber;
    Money unitPrice, amount;   // 进货单价, 金额
    qint64 quantity = 0;       // 数量, whole pieces
};

// 入库尺码临时表: one size line of a purchase receipt.
struct StockInSizeLine {
    qint64 rowId = 0;
    qint64 articleId = 0;
    QString size, colour, entryKey, articleNo, name, documentNumber, barcode;
    Money unitPrice, amount;
    qint64 quantity = 0;
};

// 出库临时表: one article line of a purchase return or a wholesale.
struct StockOutLine {
    qint64 rowId = 0;
    qint64 articleId = 0;
    QString name, articleNo, entryKey;
    Money quantity, unitPrice, amount;
};

// 出库尺码临时表: one size line of a purchase return or a wholesale.
struct StockOutSizeLine {
    qint64 rowId = 0;
    qint64 articleId = 0;
    QString size, colour, entryKey, name, category, barcode;
    Money quantity;
};

// 销售临时表: one cart line of the checkout.
struct CartLine {
    qint64 rowId = 0;
    qint64 articleId = 0;
    QString name, articleNo, category, barcode, size, colour;
    Money unitPrice, discountRate, salePrice, quantity, amount;   // 单价, 折扣率, 销售价, 数量, 金额合计
};

// 库存盘点临时表: one line of a stock count being entered.
struct CountLine {
    qint64 rowId = 0;
    qint64 articleId = 0;
    QString name, barcode, size, colour, articleNo, note;
    Money unitPrice, bookQuantity, countedQuantity, difference;   // 单价, 账面数, 实盘数, 差异数
};

namespace scratch {
std::vector<StockInLine> stockInLines(Database &temp);
std::vector<StockInSizeLine> stockInSizeLines(Database &temp);
std::vector<StockOutLine> stockOutLines(Database &temp);
// All size lines, or only those of one entry key when entryKey is not null.
std::vector<StockOutSizeLine> stockOutSizeLines(Database &temp, const QString &entryKey = QString());
std::vector<CartLine> cartLines(Database &temp);
std::vector<CountLine> countLines(Database &temp);
} // namespace scratch
