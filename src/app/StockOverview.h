#pragma once

#include "app/Database.h"
#include "app/Money.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <vector>

// The main window's stock overview: per-article totals (mode one), the rows per
// size and colour (mode two), the size-by-colour breakdown of one article and
// today's takings. The window only shows what these statements return.
namespace overview {

// The warehouse chosen in the filter ("所有仓库": every warehouse).
extern const char *const kAllWarehouses;

struct Filter {
    QString warehouse;   // kAllWarehouses or empty: every warehouse
    QString articleNo;   // part of 货号; empty: no condition
    bool singleWarehouse() const;
};

// A statement with its bound values, loaded by the window's grids.
struct Statement {
    QString sql;
    QVariantMap params;
};

Statement modeOne(const Filter &f);   // 商品编码, 商品名称, 数量, 货号 per article
Statement modeTwo(const Filter &f);   // every 库存尺码表 row
// Sum of 数量 over the rows of mode two (the grid's footer).
QString modeTwoSum(Database &db, const Filter &f);

QStringList warehouses(Database &db);

struct Breakdown {
    QStringList sizes;     // column headers, in the size rule's order
    QStringList colours;   // row headers, in the colour group's order
    // cells[row][column], both from 0 (without the header row and column);
    // empty where there is no stock row.
    std::vector<QStringList> cells;
};
// The stock of one article by size and colour, in one warehouse or all. A size or
// colour of a stock row that is not among the headers is not shown.
Breakdown breakdown(Database &db, qint64 article, const Filter &f);

struct Takings {
    QString pieces;           // sum of 数量 of the sale lines
    Money discounted, cash, account, voucher, card;
};
// The sales of one day, from midnight up to (not including) the next midnight.
Takings takings(Database &db, const QDate &day);

} // namespace overview
