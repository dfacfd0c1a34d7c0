#pragma once

#include "app/Database.h"
#include "app/Money.h"
#include "stock/SizeColourGrid.h"

#include <QAbstractTableModel>
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

// A statement with its bound values. The overview's statements end in an order
// that is total, so they can be read a page at a time.
struct Statement {
    QString sql;
    QVariantMap params;
};

Statement modeOne(const Filter &f);   // 商品编码, 商品名称, 数量, 货号 per article
// Every 库存尺码表 row: by article, warehouse, then size in the size rule's order
// and colour in the colour group's order.
Statement modeTwo(const Filter &f);
// Sum of 数量 over the rows of mode two (the grid's footer), computed by the server
// in one aggregate statement.
Statement modeTwoTotal(const Filter &f);
QString modeTwoSum(Database &db, const Filter &f);
// One page of a statement: `count` rows from row `offset` (from 0).
Statement page(const Statement &st, int offset, int count);

QStringList warehouses(Database &db);

// The stock of one article by size and colour, in one warehouse or all. A size or
// colour of a stock row that is not in the grid is not shown.
SizeColourGrid breakdown(Database &db, qint64 article, const Filter &f);

struct Takings {
    QString pieces;           // sum of 数量 of the sale lines
    Money discounted, cash, account, voucher, card;
};
// The sales of one day, from midnight up to (not including) the next midnight.
Takings takings(Database &db, const QDate &day);

// A read-only result fetched a page at a time: load() reads the first page, and a
// grid that scrolls to the end asks for the next one (fetchMore), so what is held
// is what was shown plus a page, whatever the size of the table.
class PagedRows : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPageSize = 100;

    // table: the table the columns come from (their types decide how numbers show).
    PagedRows(Database &db, QString table, QObject *parent = nullptr);

    // Reads the first page of the statement. Throws DbError.
    void load(const Statement &st);
    // Reads pages until the row is held or the result ends; false when it ends first.
    bool fetchUpTo(int row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex &parent = QModelIndex()) override;

    int columnIndex(const QString &name) const;   // -1 when missing
    const QStringList &columns() const { return columns_; }
    QVariant value(int row, const QString &column) const;
    // A key column as a whole number, whatever form the engine hands back.
    qint64 wholeNumber(int row, const QString &column) const;
    bool atEnd() const { return atEnd_; }

Q_SIGNALS:
    // A page asked for by the grid could not be read (the text of the error).
    void fetchFailed(const QString &text);

private:
    void fetchPage();

    Database &db_;
    QString table_;
    Statement st_;
    QStringList columns_;
    std::vector<bool> numeric_;
    std::vector<std::vector<QVariant>> rows_;
    bool atEnd_ = true;
    bool loaded_ = false;
};

} // namespace overview
