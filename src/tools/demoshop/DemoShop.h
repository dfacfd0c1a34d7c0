#pragma once

#include "app/Database.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>

// Fills a new, empty shop with a believable catalogue, customers, stock and a year
// of sales, for trying the program out and for measuring it on large data.
// The same seed (and the same moment "now") gives the same shop.
//
// Stock moves only through the program's own posting path: purchase receipts (in
// the past year) bring every stock row in, and today's sales take goods out, each
// with its number from NextDocumentNumber and its movements through StockLedger.
// The sales before today are history: written in bulk, without moving stock.
struct DemoShopOptions {
    int articles = 200;
    qint64 saleLines = 5000;        // rows of 销售明细表
    quint64 seed = 1;
    QDateTime now = QDateTime::currentDateTime();
    // Called with a short Chinese progress line (the command-line tool prints it).
    std::function<void(const QString &)> progress;
};

struct DemoShopSummary {
    qint64 articles = 0, barcodes = 0, sizeCodes = 0, colourCodes = 0;
    qint64 members = 0, warehouseRows = 0, sizeStockRows = 0, receipts = 0;
    qint64 sales = 0, saleLines = 0, wholesales = 0, todaySales = 0;
};

class DemoShop {
public:
    DemoShop(Database &db, DemoShopOptions options);
    // Writes everything, one transaction per table (the receipts and the sales each
    // a posting nested in their table's transaction). Refuses (DbError) a shop that
    // already has goods, so a real shop is never mixed with demo data.
    DemoShopSummary generate();

private:
    struct Impl;
    Database &db_;
    DemoShopOptions opt_;
};
