#include "ui/RecordList.h"

#include "ui/Messages.h"

#include <QHeaderView>
#include <QSqlField>
#include <QSqlRecord>
#include <QTableView>

namespace {

constexpr int kFetchBatch = 256;

QString quoted(const QString &identifier)
{
    QString s = identifier;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() != b.isNull()) return false;
    if (a.isNull()) return true;
    return sqlvalue::display(a) == sqlvalue::display(b);
}

} // namespace

RecordList::RecordList(Database &db, QString table, QObject *parent)
    : QAbstractTableModel(parent), db_(db), table_(std::move(table))
{
    schema_ = schema::findTable(table_);
    if (schema_) keyColumn_ = schema_->keyColumn();
}

RecordList::~RecordList() = default;

QString RecordList::selectStatement() const
{
    const QString base = sql_.isEmpty() ? QStringLiteral("select * from ") + table_ : sql_;
    if (sortColumn_.isEmpty()) return base;
    return QStringLiteral("select * from (%1) qv_sorted order by %2 %3")
        .arg(base, quoted(sortColumn_), sortOrder_ == Qt::AscendingOrder ? QStringLiteral("asc") : QStringLiteral("desc"));
}

void RecordList::load(const QString &sql, const QVariantMap &params)
{
    if (sql != sql_) sortColumn_.clear();
    sql_ = sql;
    params_ = params;
    // The previous read goes first: on PostgreSQL a forward-only read streams its
    // rows, and ending it after the new one has started cuts the new one short.
    beginResetModel();
    rows_.clear();
    query_.reset();
    endResetModel();
    auto q = std::make_unique<Query>(db_);
    q->prepare(selectStatement());
    for (auto it = params.constBegin(); it != params.constEnd(); ++it)
        q->bind(it.key(), it.value());
    // SQLite hands rows over one at a time as the grid scrolls. The PostgreSQL
    // driver runs forward-only statements in single-row mode, which the next
    // statement on the connection would cut off, so there the whole result is
    // received at once (as libpq does anyway) and only wrapped lazily.
    q->raw().setForwardOnly(db_.isSqlite());
    q->exec();

    beginResetModel();
    query_ = std::move(q);
    rows_.clear();
    saved_.reset();
    state_ = State::Browse;
    columns_.clear();
    types_.clear();
    fieldTypes_.clear();
    const QSqlRecord rec = query_->raw().record();
    for (int i = 0; i < rec.count(); ++i) {
        columns_ << rec.fieldName(i);
        fieldTypes_.push_back(rec.field(i).metaType());
        const schema::Column *c = schema_ ? schema_->column(rec.fieldName(i)) : nullptr;
        types_.push_back(c ? c->type : schema::Type::Text);
    }
    atEnd_ = false;
    endResetModel();
    fetch(kFetchBatch);
    current_ = -1;
    setCurrentRow(rows_.empty() ? -1 : 0);
}

void RecordList::reload()
{
    const QVariant key = currentKey();
    load(sql_, params_);
    restoreKey(key);
}

void RecordList::restoreKey(const QVariant &key)
{
    if (key.isNull() || keyColumn_.isEmpty()) return;
    const int k = columnIndex(keyColumn_);
    if (k < 0) return;
    for (int r = 0;; ++r) {
        if (r >= int(rows_.size())) {
            if (atEnd_) return;
            fetch(kFetchBatch);
            if (r >= int(rows_.size())) return;
        }
        if (sameValue(rows_[r].values[k], key)) {
            setCurrentRow(r);
            return;
        }
    }
}

void RecordList::fetch(int count)
{
    if (!query_ || atEnd_) return;
    std::vector<Row> batch;
    const int n = int(columns_.size());
    while (count-- > 0) {
        if (!query_->next()) {
            atEnd_ = true;
            break;
        }
        Row r;
        r.values.reserve(n);
        for (int i = 0; i < n; ++i) r.values.push_back(query_->value(i));
        batch.push_back(std::move(r));
    }
    if (atEnd_) query_->raw().finish();   // let the store forget the open read
    if (batch.empty()) return;
    // A pending new row stays last.
    const int at = state_ == State::Insert ? int(rows_.size()) - 1 : int(rows_.size());
    beginInsertRows(QModelIndex(), at, at + int(batch.size()) - 1);
    rows_.insert(rows_.begin() + at, std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
    if (state_ == State::Insert) current_ = int(rows_.size()) - 1;
    endInsertRows();
}

void RecordList::fetchAll()
{
    while (!atEnd_) fetch(4096);
}

int RecordList::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int RecordList::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

bool RecordList::canFetchMore(const QModelIndex &parent) const { return !parent.isValid() && !atEnd_; }

void RecordList::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid()) fetch(kFetchBatch);
}

QVariant RecordList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()) || index.column() >= int(columns_.size())) return {};
    const QVariant &v = rows_[index.row()].values[index.column()];
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const QMetaType ft = fieldTypes_[index.column()];
        return sqlvalue::display(v, schema::isNumeric(typeOf(index.column())) ? QMetaType::fromType<double>() : ft);
    }
    if (role == Qt::TextAlignmentRole && schema::isNumeric(typeOf(index.column())))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

bool RecordList::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !editable_.contains(index.column())) return false;
    const auto converted = convert(typeOf(index.column()), value);
    if (!converted) {
        messages().error(QStringLiteral("%1必须是数字！").arg(titles_.value(columns_[index.column()], columns_[index.column()])));
        return false;
    }
    if (index.row() != current_) setCurrentRow(index.row());
    if (state_ == State::Browse && !edit()) return false;
    rows_[index.row()].values[index.column()] = *converted;
    Q_EMIT dataChanged(index, index);
    return true;
}

QVariant RecordList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < int(columns_.size()))
        return titles_.value(columns_[section], columns_[section]);
    if (orientation == Qt::Vertical && role == Qt::DisplayRole) return QVariant();
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordList::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && editable_.contains(index.column())) f |= Qt::ItemIsEditable;
    return f;
}

void RecordList::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= int(columns_.size())) return;
    postInPlace();
    if (state_ != State::Browse) cancel();
    const QVariant key = currentKey();
    const QString sql = sql_;
    sortColumn_ = columns_[column];
    sortOrder_ = order;
    // load() keeps the sort column because the statement is unchanged.
    load(sql, params_);
    restoreKey(key);
}

int RecordList::columnIndex(const QString &name) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString RecordList::columnName(int column) const { return columns_.value(column); }

void RecordList::setTitle(const QString &column, const QString &title) { titles_.insert(column, title); }

schema::Type RecordList::typeOf(int column) const
{
    return column >= 0 && column < int(types_.size()) ? types_[column] : schema::Type::Text;
}

void RecordList::setCurrentRow(int row)
{
    if (row >= int(rows_.size())) row = int(rows_.size()) - 1;
    if (row == current_) return;
    if (state_ == State::Edit && saved_ && row != current_) {
        // Leaving a row edited in place stores it (or drops it when it is refused).
        if (!postInPlace()) cancel();
    }
    current_ = row;
    if (view_ && row >= 0) {
        const QModelIndex cur = view_->currentIndex();
        if (!cur.isValid() || cur.row() != row) {
            const int col = cur.isValid() ? cur.column() : 0;
            QSignalBlocker block(view_->selectionModel());
            view_->setCurrentIndex(index(row, col));
            view_->selectRow(row);
        }
    }
    Q_EMIT currentRowChanged(row);
}

QVariant RecordList::value(int row, const QString &column) const
{
    const int c = columnIndex(column);
    if (row < 0 || row >= int(rows_.size()) || c < 0) return {};
    return rows_[row].values[c];
}

QVariant RecordList::currentKey() const
{
    if (keyColumn_.isEmpty() || (state_ == State::Insert)) return {};
    return current(keyColumn_);
}

void RecordList::append(const QVariantMap &presets)
{
    postInPlace();
    if (state_ != State::Browse) cancel();
    fetchAll();   // the new row goes after the last stored one
    Row r;
    r.values.resize(columns_.size());
    for (auto it = presets.constBegin(); it != presets.constEnd(); ++it) {
        const int c = columnIndex(it.key());
        if (c >= 0) r.values[c] = it.value();
    }
    const int at = int(rows_.size());
    beginInsertRows(QModelIndex(), at, at);
    rows_.push_back(std::move(r));
    state_ = State::Insert;
    endInsertRows();
    current_ = -1;
    setCurrentRow(at);
}

bool RecordList::edit()
{
    if (state_ == State::Insert) return true;
    if (current_ < 0) return false;
    if (state_ == State::Browse) {
        saved_ = rows_[current_];
        state_ = State::Edit;
    }
    return true;
}

void RecordList::setField(const QString &column, const QVariant &value)
{
    const int c = columnIndex(column);
    if (c < 0 || current_ < 0 || state_ == State::Browse) return;
    rows_[current_].values[c] = value;
    Q_EMIT dataChanged(index(current_, c), index(current_, c));
}

std::optional<QVariant> RecordList::convert(schema::Type type, const QVariant &input)
{
    const bool isText = input.metaType().id() == QMetaType::QString;
    const QString text = isText ? input.toString().trimmed() : QString();
    switch (type) {
    case schema::Type::Currency:
    case schema::Type::Number: {
        if (input.isNull() || (isText && text.isEmpty())) return QVariant();
        if (input.metaType() == QMetaType::fromType<Money>()) return input;
        if (!isText) {
            bool ok = false;
            input.toDouble(&ok);
            if (!ok) return std::nullopt;
            return QVariant::fromValue(Money::fromVariant(input));
        }
        const auto m = Money::parse(text);
        if (!m) return std::nullopt;
        return QVariant::fromValue(*m);
    }
    case schema::Type::Integer:
    case schema::Type::AutoNumber: {
        if (input.isNull() || (isText && text.isEmpty())) return QVariant();
        bool ok = false;
        const qlonglong v = isText ? text.toLongLong(&ok) : input.toLongLong(&ok);
        if (!ok) return std::nullopt;
        return QVariant(v);
    }
    case schema::Type::DateTime: {
        if (input.isNull() || (isText && text.isEmpty())) return QVariant();
        const QDateTime t = sqlvalue::parseMoment(input);
        if (!t.isValid()) return std::nullopt;
        return QVariant(t);
    }
    case schema::Type::Bool:
        if (input.isNull()) return QVariant(false);
        if (isText) return QVariant(text == u"1" || text == u"是" || text.compare(u"true", Qt::CaseInsensitive) == 0);
        return QVariant(input.toBool());
    case schema::Type::Text:
        return input.isNull() ? QVariant() : QVariant(input.toString());
    }
    return input;
}

bool RecordList::writeRow(const Row &row, bool insert, const QVariant &key, QVariant *newKey)
{
    QStringList cols;
    std::vector<QVariant> vals;
    for (int c = 0; c < columns_.size(); ++c) {
        const QString &name = columns_[c];
        if (!schema_ || !schema_->column(name) || name.compare(keyColumn_, Qt::CaseInsensitive) == 0) continue;
        if (insert ? row.values[c].isNull() : (saved_ && sameValue(saved_->values[c], row.values[c]))) continue;
        cols << name;
        vals.push_back(row.values[c]);
    }
    Query q(db_);
    QString sql;
    if (insert) {
        QStringList ph;
        for (int i = 0; i < cols.size(); ++i) ph << QStringLiteral(":p%1").arg(i);
        sql = cols.isEmpty()
            ? QStringLiteral("insert into %1 default values").arg(table_)
            : QStringLiteral("insert into %1 (%2) values (%3)").arg(table_, cols.join(u','), ph.join(u','));
        if (!db_.isSqlite() && !keyColumn_.isEmpty()) sql += QStringLiteral(" returning ") + keyColumn_;
    } else {
        if (cols.isEmpty()) return true;   // nothing changed
        QStringList sets;
        for (int i = 0; i < cols.size(); ++i) sets << QStringLiteral("%1=:p%2").arg(cols[i]).arg(i);
        sql = QStringLiteral("update %1 set %2 where %3=:qv_key").arg(table_, sets.join(u','), keyColumn_);
    }
    q.prepare(sql);
    for (int i = 0; i < int(vals.size()); ++i) q.bind(QStringLiteral("p%1").arg(i), vals[i]);
    if (!insert) q.bind(QStringLiteral("qv_key"), key);
    q.exec();
    if (!insert && q.numRowsAffected() == 0)
        throw DbError(QStringLiteral("该记录已被删除，无法保存"));
    if (insert && newKey) {
        if (!db_.isSqlite() && !keyColumn_.isEmpty() && q.next()) *newKey = q.value(0);
        else *newKey = q.lastInsertId();
    }
    return true;
}

bool RecordList::post(const QHash<QString, QString> &labels)
{
    if (state_ == State::Browse || current_ < 0) return true;
    if (!schema_ || keyColumn_.isEmpty()) {
        messages().error(QStringLiteral("该列表不能修改"));
        return false;
    }
    Row row = rows_[current_];
    for (int c = 0; c < columns_.size(); ++c) {
        const auto converted = convert(typeOf(c), row.values[c]);
        if (!converted) {
            const QString label = labels.value(columns_[c], titles_.value(columns_[c], columns_[c]));
            messages().error(QStringLiteral("%1必须是数字！").arg(label));
            return false;
        }
        row.values[c] = *converted;
    }
    const bool insert = state_ == State::Insert;
    const QVariant key = insert ? QVariant() : rows_[current_].values[columnIndex(keyColumn_)];
    QVariant newKey = key;
    try {
        Transaction tx(db_);
        writeRow(row, insert, key, &newKey);
        tx.commit();
    } catch (const DbError &e) {
        messages().error(e.text());
        return false;
    }
    state_ = State::Browse;
    saved_.reset();
    const QVariant keep = newKey;
    load(sql_, params_);
    restoreKey(keep);
    Q_EMIT rowPosted();
    return true;
}

bool RecordList::postInPlace()
{
    if (state_ != State::Edit || !saved_) return true;
    return post();
}

void RecordList::cancel()
{
    if (state_ == State::Insert) {
        const int last = int(rows_.size()) - 1;
        state_ = State::Browse;
        beginRemoveRows(QModelIndex(), last, last);
        rows_.pop_back();
        endRemoveRows();
        current_ = -1;
        setCurrentRow(rows_.empty() ? -1 : int(rows_.size()) - 1);
    } else if (state_ == State::Edit && saved_ && current_ >= 0) {
        rows_[current_] = *saved_;
        saved_.reset();
        state_ = State::Browse;
        Q_EMIT dataChanged(index(current_, 0), index(current_, int(columns_.size()) - 1));
    }
    state_ = State::Browse;
    saved_.reset();
}

bool RecordList::deleteCurrent()
{
    if (state_ == State::Insert) cancel();
    if (current_ < 0 || rows_.empty()) {
        messages().error(QStringLiteral("没有可以删除的记录"));
        return false;
    }
    if (keyColumn_.isEmpty()) {
        messages().error(QStringLiteral("该列表不能修改"));
        return false;
    }
    if (state_ == State::Edit) cancel();
    const QVariant key = currentKey();
    const int row = current_;
    try {
        Transaction tx(db_);
        Query q(db_);
        q.prepare(QStringLiteral("delete from %1 where %2=:qv_key").arg(table_, keyColumn_));
        q.bind(QStringLiteral("qv_key"), key).exec();
        tx.commit();
    } catch (const DbError &e) {
        messages().error(e.text());
        return false;
    }
    load(sql_, params_);
    // Stay near where the deleted row was.
    while (row >= int(rows_.size()) && !atEnd_) fetch(kFetchBatch);
    setCurrentRow(qMin(row, int(rows_.size()) - 1));
    return true;
}

void RecordList::attach(QTableView *view, const QStringList &columns, const QStringList &editableColumns)
{
    view_ = view;
    view->setModel(this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setSortIndicatorShown(false);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setMinimumSectionSize(60);
    // Column widths follow the first screenful, not every fetched row.
    view->horizontalHeader()->setResizeContentsPrecision(50);

    auto layoutColumns = [this, view, columns, editableColumns]() {
        editable_.clear();
        for (const QString &e : editableColumns) {
            const int c = columnIndex(e);
            if (c >= 0) editable_.insert(c);
        }
        QHeaderView *h = view->horizontalHeader();
        for (int c = 0; c < columns_.size(); ++c)
            view->setColumnHidden(c, !columns.isEmpty() && !columns.contains(columns_[c], Qt::CaseInsensitive));
        for (int i = 0; i < columns.size(); ++i) {
            const int c = columnIndex(columns[i]);
            if (c >= 0) h->moveSection(h->visualIndex(c), i);
        }
        view->resizeColumnsToContents();
        // The header only picks its new last visible section when told again.
        h->setStretchLastSection(false);
        h->setStretchLastSection(true);
    };
    connect(this, &QAbstractItemModel::modelReset, view, layoutColumns);
    layoutColumns();
    view->setEditTriggers(editableColumns.isEmpty() ? QAbstractItemView::NoEditTriggers
                                                    : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                                          | QAbstractItemView::AnyKeyPressed);
    connect(view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, view](int section) {
        const QString name = columnName(section);
        const Qt::SortOrder order = (sortColumn_ == name && sortOrder_ == Qt::AscendingOrder) ? Qt::DescendingOrder
                                                                                               : Qt::AscendingOrder;
        sort(section, order);
        view->horizontalHeader()->setSortIndicatorShown(true);
        view->horizontalHeader()->setSortIndicator(columnIndex(name), order);
    });
    // The selection model is replaced whenever the model is set; follow the current one.
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &cur, const QModelIndex &) { setCurrentRow(cur.isValid() ? cur.row() : -1); });
    if (current_ >= 0) {
        QSignalBlocker block(view->selectionModel());
        view->setCurrentIndex(index(current_, 0));
        view->selectRow(current_);
    }
}
