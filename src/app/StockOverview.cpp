#include "app/StockOverview.h"

#include "app/schema/Schema.h"

#include <QSqlRecord>

namespace overview {

const char *const kAllWarehouses = "所有仓库";

bool Filter::singleWarehouse() const
{
    return !warehouse.isEmpty() && warehouse != QString::fromUtf8(kAllWarehouses);
}

namespace {

// The conditions both modes share, appended to "where 1=1"; `row` qualifies the
// columns when the statement joins another table.
QString conditions(const Filter &f, QVariantMap &params, const QString &row = QString())
{
    QString sql;
    if (f.singleWarehouse()) {
        sql += QStringLiteral(" and %1库房名称=:库房名称").arg(row);
        params.insert(QStringLiteral("库房名称"), f.warehouse);
    }
    if (!f.articleNo.isEmpty()) {
        sql += QStringLiteral(" and %1货号 like :货号").arg(row);
        params.insert(QStringLiteral("货号"), QString(u'%' + f.articleNo + u'%'));
    }
    return sql;
}

Query &run(Query &q, const Statement &st)
{
    q.prepare(st.sql);
    for (auto it = st.params.constBegin(); it != st.params.constEnd(); ++it) q.bind(it.key(), it.value());
    return q.exec();
}

QString numberText(const QVariant &v)
{
    return Money::fromVariant(v).toString();
}

} // namespace

Statement modeOne(const Filter &f)
{
    Statement st;
    st.sql = QStringLiteral("select 商品编码,商品名称,sum(数量) as 数量,货号 from 库存总表 where 1=1")
             + conditions(f, st.params)
             + QStringLiteral(" group by 商品编码,商品名称,货号 order by 商品编码,商品名称,货号");
    return st;
}

Statement modeTwo(const Filter &f)
{
    // The article's size rule and colour group put each article's rows in the
    // order its grid shows them; the key settles the rest, so pages never overlap.
    Statement st;
    st.sql = QStringLiteral("select s.* from 库存尺码表 s left join 商品列表 g on g.id=cast(s.商品编码 as integer) "
                            "where 1=1")
             + conditions(f, st.params, QStringLiteral("s."))
             + QStringLiteral(" order by s.商品编码,s.商品名称,s.库房名称,")
             + gridorder::sizeTerms(QStringLiteral("g.尺码规则"), QStringLiteral("s.商品尺码")) + u','
             + gridorder::colourTerms(QStringLiteral("g.颜色组"), QStringLiteral("s.颜色"))
             + QStringLiteral(",s.商品尺码,s.颜色,s.id");
    return st;
}

Statement modeTwoTotal(const Filter &f)
{
    Statement st;
    st.sql = QStringLiteral("select sum(数量) as 数量 from 库存尺码表 where 1=1") + conditions(f, st.params);
    return st;
}

QString modeTwoSum(Database &db, const Filter &f)
{
    Query q(db);
    run(q, modeTwoTotal(f));
    return q.next() ? numberText(q.value(QStringLiteral("数量"))) : QStringLiteral("0");
}

Statement page(const Statement &st, int offset, int count)
{
    Statement p = st;
    p.sql += QStringLiteral(" limit :qv_limit offset :qv_offset");
    p.params.insert(QStringLiteral("qv_limit"), count);
    p.params.insert(QStringLiteral("qv_offset"), offset);
    return p;
}

QStringList warehouses(Database &db)
{
    QStringList names;
    Query q(db);
    q.exec(QStringLiteral("select * from 库房名称 order by id"));
    while (q.next()) names << q.text(QStringLiteral("库房名称"));
    return names;
}

SizeColourGrid breakdown(Database &db, qint64 article, const Filter &f)
{
    SizeColourGrid grid = SizeColourGrid::forArticle(db, article);
    if (grid.hasNoCells()) return grid;
    Statement st;
    st.sql = QStringLiteral("select 商品编码,商品尺码,颜色,sum(数量) as 数量 from 库存尺码表 where 商品编码=:商品编码");
    st.params.insert(QStringLiteral("商品编码"), article);
    if (f.singleWarehouse()) {
        st.sql += QStringLiteral(" and 库房名称=:库房名称");
        st.params.insert(QStringLiteral("库房名称"), f.warehouse);
    }
    st.sql += QStringLiteral(" group by 商品编码,商品尺码,颜色");
    Query q(db);
    run(q, st);
    while (q.next())
        grid.place(q.text(QStringLiteral("商品尺码")), q.text(QStringLiteral("颜色")), q.money(QStringLiteral("数量")));
    return grid;
}

Takings takings(Database &db, const QDate &day)
{
    Takings t;
    Query q(db);
    // Half-open, bound as days: a sale at exactly midnight belongs to the day it
    // starts, never also to the day before.
    q.prepare(QStringLiteral("select sum(数量) as cc from 销售明细表 where 日期时间>=:sj1 and 日期时间<:sj2"));
    q.bind(QStringLiteral("sj1"), day);
    q.bind(QStringLiteral("sj2"), day.addDays(1));
    q.exec();
    t.pieces = q.next() ? numberText(q.value(QStringLiteral("cc"))) : QStringLiteral("0");

    q.prepare(QStringLiteral("select sum(折后金额) as 折后金额,sum(现金收入) as 现金收入,sum(账户支付) as 账户支付,"
                             "sum(代金卷) as 代金卷,sum(信用卡收取) as 信用卡收取 from 销售总表 "
                             "where 日期时间>=:sj1 and 日期时间<:sj2"));
    q.bind(QStringLiteral("sj1"), day);
    q.bind(QStringLiteral("sj2"), day.addDays(1));
    q.exec();
    if (q.next()) {
        t.discounted = q.money(QStringLiteral("折后金额"));
        t.cash = q.money(QStringLiteral("现金收入"));
        t.account = q.money(QStringLiteral("账户支付"));
        t.voucher = q.money(QStringLiteral("代金卷"));
        t.card = q.money(QStringLiteral("信用卡收取"));
    }
    return t;
}

// ------------------------------------------------------------------ PagedRows

PagedRows::PagedRows(Database &db, QString table, QObject *parent)
    : QAbstractTableModel(parent), db_(db), table_(std::move(table))
{
}

void PagedRows::load(const Statement &st)
{
    beginResetModel();
    st_ = st;
    rows_.clear();
    columns_.clear();
    numeric_.clear();
    atEnd_ = false;
    loaded_ = false;
    try {
        fetchPage();
    } catch (...) {
        atEnd_ = true;
        endResetModel();
        throw;
    }
    endResetModel();
}

void PagedRows::fetchPage()
{
    if (atEnd_) return;
    Query q(db_);
    run(q, page(st_, int(rows_.size()), kPageSize));
    if (!loaded_) {
        const QSqlRecord rec = q.raw().record();
        for (int i = 0; i < rec.count(); ++i) {
            columns_ << rec.fieldName(i);
            numeric_.push_back(schema::isNumeric(schema::columnType(table_, rec.fieldName(i))));
        }
        loaded_ = true;
    }
    std::vector<std::vector<QVariant>> batch;
    while (q.next()) {
        std::vector<QVariant> row;
        row.reserve(columns_.size());
        for (int i = 0; i < columns_.size(); ++i) row.push_back(q.value(i));
        batch.push_back(std::move(row));
    }
    atEnd_ = int(batch.size()) < kPageSize;
    if (batch.empty()) return;
    const bool inReset = rows_.empty();   // load() resets around the first page
    if (!inReset) beginInsertRows(QModelIndex(), int(rows_.size()), int(rows_.size() + batch.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
    if (!inReset) endInsertRows();
}

bool PagedRows::fetchUpTo(int row)
{
    while (row >= int(rows_.size()) && !atEnd_) fetchPage();
    return row < int(rows_.size());
}

int PagedRows::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int PagedRows::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant PagedRows::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()) || index.column() >= columns_.size()) return {};
    const QVariant &v = rows_[index.row()][index.column()];
    const bool numeric = numeric_[index.column()];
    if (role == Qt::DisplayRole) return numeric ? (v.isNull() ? QString() : numberText(v)) : sqlvalue::display(v);
    if (role == Qt::TextAlignmentRole && numeric) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant PagedRows::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) return columns_.value(section);
    return QVariant();
}

bool PagedRows::canFetchMore(const QModelIndex &parent) const { return !parent.isValid() && !atEnd_; }

void PagedRows::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid()) return;
    // Called by the grid as it scrolls, where nothing may throw.
    try {
        fetchPage();
    } catch (const DbError &e) {
        atEnd_ = true;
        Q_EMIT fetchFailed(e.text());
    }
}

int PagedRows::columnIndex(const QString &name) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant PagedRows::value(int row, const QString &column) const
{
    const int c = columnIndex(column);
    if (row < 0 || row >= int(rows_.size()) || c < 0) return {};
    return rows_[row][c];
}

qint64 PagedRows::wholeNumber(int row, const QString &column) const
{
    const QVariant v = value(row, column);
    if (v.isNull()) return 0;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok ? n : Money::fromVariant(v).units() / Money::kScale;
}

} // namespace overview
