#include "ui/RecordList.h"

#include "app/Notices.h"
#include "ui/Messages.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QSqlField>
#include <QSqlRecord>
#include <QTableView>

namespace {

// A page: a screenful and more, so the grid asks for the next one only after a
// good stretch of scrolling.
constexpr int kPage = 256;

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

bool isSpace(QChar c) { return c.isSpace(); }

// Splits a trailing top-level "order by" off a statement: the statement without it
// and its terms (split at top-level commas). Quoted text and parenthesised parts
// (subqueries) are skipped.
std::pair<QString, QStringList> splitOrder(const QString &sql)
{
    int depth = 0;
    int at = -1;
    const int n = sql.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            for (++i; i < n && sql[i] != c; ++i) {}
            continue;
        }
        if (c == u'(') ++depth;
        else if (c == u')') --depth;
        else if (depth == 0 && (c == u'o' || c == u'O') && (i == 0 || isSpace(sql[i - 1]))
                 && QStringView(sql).mid(i, 5).compare(u"order", Qt::CaseInsensitive) == 0) {
            int j = i + 5;
            if (j >= n || !isSpace(sql[j])) continue;
            while (j < n && isSpace(sql[j])) ++j;
            if (QStringView(sql).mid(j, 2).compare(u"by", Qt::CaseInsensitive) == 0 && j + 2 < n && isSpace(sql[j + 2]))
                at = i;
        }
    }
    if (at < 0) return {sql, {}};
    const QString terms = sql.mid(at + 5).trimmed().mid(2);
    QStringList out;
    depth = 0;
    int from = 0;
    for (int i = 0; i <= terms.size(); ++i) {
        const QChar c = i < terms.size() ? terms[i] : QChar(u',');
        if (c == u'\'' || c == u'"') {
            for (++i; i < terms.size() && terms[i] != c; ++i) {}
            continue;
        }
        if (c == u'(') ++depth;
        else if (c == u')') --depth;
        else if (c == u',' && depth == 0) {
            const QString t = terms.mid(from, i - from).trimmed();
            if (!t.isEmpty()) out << t;
            from = i + 1;
        }
    }
    return {sql.left(at).trimmed(), out};
}

// The stated order's terms become columns of the statement ("qv_o0", ...), computed
// where the terms mean what they say (aliases, joins, subqueries), so the list can
// order and page by them. Returns the statement and the terms by those names.
std::pair<QString, QStringList> orderColumns(const QString &sql, const QStringList &terms)
{
    static const QRegularExpression head(QStringLiteral("^\\s*select(\\s+distinct|\\s+all)?\\s"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression direction(QStringLiteral("\\s+(asc|desc)\\s*$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = head.match(sql);
    if (terms.isEmpty() || !m.hasMatch()) return {sql, {}};
    QStringList exprs, named;
    for (int i = 0; i < terms.size(); ++i) {
        QString e = terms[i];
        const QRegularExpressionMatch d = direction.match(e);
        const bool desc = d.hasMatch() && d.captured(1).compare(u"desc", Qt::CaseInsensitive) == 0;
        if (d.hasMatch()) e = e.left(d.capturedStart()).trimmed();
        exprs << QStringLiteral("%1 as qv_o%2").arg(e).arg(i);
        named << QStringLiteral("qv_o%1%2").arg(i).arg(desc ? QStringLiteral(" desc") : QString());
    }
    const int at = m.capturedEnd();
    return {sql.left(at) + exprs.join(u',') + QStringLiteral(", ") + sql.mid(at), named};
}

bool isOrderColumn(const QString &name) { return name.startsWith(QStringLiteral("qv_o")); }

} // namespace

RecordList::RecordList(Database &db, QString table, QObject *parent)
    : QAbstractTableModel(parent), db_(db), table_(std::move(table))
{
    schema_ = schema::findTable(table_);
    if (schema_) keyColumn_ = schema_->keyColumn();
}

RecordList::~RecordList() = default;

void RecordList::bindStatement(Query &q) const
{
    for (auto it = params_.constBegin(); it != params_.constEnd(); ++it) q.bind(it.key(), it.value());
}

void RecordList::buildOrder(const QStringList &stated)
{
    terms_.clear();
    auto add = [this](int column, bool descending) {
        if (column < 0) return;
        for (const OrderTerm &t : terms_)
            if (t.column == column) return;
        terms_.push_back({column, descending});
    };
    if (!sortColumn_.isEmpty()) {
        add(columnIndex(sortColumn_), sortOrder_ == Qt::DescendingOrder);
    } else {
        for (const QString &term : stated.isEmpty() ? order_ : stated) {
            const QStringList words = term.split(u' ', Qt::SkipEmptyParts);
            if (words.isEmpty()) continue;
            QString name = words[0];
            name = name.mid(name.lastIndexOf(u'.') + 1);   // "a.id" names the result's id
            if (name.startsWith(u'"') && name.endsWith(u'"')) name = name.mid(1, name.size() - 2);
            const bool desc = words.size() > 1 && words[1].compare(u"desc", Qt::CaseInsensitive) == 0;
            add(columnIndex(name), desc);
        }
    }
    // The key makes the order total, so a page never starts in the middle of
    // rows that tie; a result without the key (a grouped one) uses all its columns.
    if (keyIndex_ >= 0) {
        add(keyIndex_, false);
    } else {
        for (int c = 0; c < columns_.size(); ++c)
            if (!isOrderColumn(columns_[c])) add(c, false);
    }
}

QString RecordList::orderClause() const
{
    // Empty values sort where the engine puts them (SQLite: as the smallest value,
    // PostgreSQL: as the largest), so the engine's indexes serve the order.
    QStringList parts;
    for (const OrderTerm &t : terms_)
        parts << quoted(columns_[t.column]) + (t.descending ? QStringLiteral(" desc") : QStringLiteral(" asc"));
    return parts.join(QStringLiteral(", "));
}

void RecordList::load(const QString &sql, const QVariantMap &params)
{
    if (sql != sql_) sortColumn_.clear();
    sql_ = sql;
    params_ = params;
    const auto [statement, terms] = splitOrder(sql.isEmpty() ? QStringLiteral("select * from ") + table_ : sql);
    const auto [base, stated] = orderColumns(statement, terms);
    base_ = base;

    // The result's columns and types, without reading a row.
    Query probe(db_);
    probe.prepare(QStringLiteral("select * from (%1) qv_list where 1=0").arg(base_));
    bindStatement(probe);
    probe.exec();

    beginResetModel();
    rows_.clear();
    shown_.clear();
    last_.reset();
    rowsRead_ = 0;
    saved_.reset();
    state_ = State::Browse;
    columns_.clear();
    types_.clear();
    fieldTypes_.clear();
    const QSqlRecord rec = probe.raw().record();
    for (int i = 0; i < rec.count(); ++i) {
        columns_ << rec.fieldName(i);
        fieldTypes_.push_back(rec.field(i).metaType());
        const schema::Column *c = schema_ ? schema_->column(rec.fieldName(i)) : nullptr;
        types_.push_back(c ? c->type : schema::Type::Text);
    }
    keyIndex_ = keyColumn_.isEmpty() ? -1 : columnIndex(keyColumn_);
    buildOrder(stated);
    atEnd_ = false;
    endResetModel();
    current_ = -1;
    fetch(kPage);
    setCurrentRow(rows_.empty() ? -1 : 0);
}

void RecordList::reload()
{
    const QVariant key = currentKey();
    load(sql_, params_);
    restoreKey(key);
}

void RecordList::restoreKey(const QVariant &key, bool readOn)
{
    if (key.isNull() || keyIndex_ < 0) return;
    for (int r = 0;; ++r) {
        if (r >= int(rows_.size())) {
            if (atEnd_ || !readOn) return;
            fetch(kPage);
            if (r >= int(rows_.size())) return;
        }
        if (sameValue(rows_[r].values[keyIndex_], key)) {
            setCurrentRow(r);
            return;
        }
    }
}

QString RecordList::keyText(const Row &row) const
{
    return keyIndex_ < 0 ? QString() : sqlvalue::display(row.values[keyIndex_]);
}

void RecordList::fetch(int count)
{
    if (atEnd_ || columns_.isEmpty()) return;
    // Keyset paging: the rows after the last one read, in the list's order. For
    // each term, the rows that tie on the terms before it and come after on it.
    QStringList after;
    std::vector<std::pair<QString, QVariant>> values;
    if (last_) {
        QStringList ties;
        for (std::size_t i = 0; i < terms_.size(); ++i) {
            const OrderTerm &t = terms_[i];
            const QString col = quoted(columns_[t.column]);
            const QVariant &v = last_->values[t.column];
            const QString name = QStringLiteral("qv_k%1").arg(i);
            // Whether empty values come after every other value in this term's direction.
            const bool nullsHigh = !db_.isSqlite();
            const bool nullsAfter = t.descending != nullsHigh;
            const QString cmp = QStringLiteral("%1%2:%3").arg(col, t.descending ? QStringLiteral("<") : QStringLiteral(">"), name);
            QString later;
            if (v.isNull()) later = nullsAfter ? QString() : col + QStringLiteral(" is not null");
            else later = nullsAfter ? QStringLiteral("(%1 or %2 is null)").arg(cmp, col) : cmp;
            if (!later.isEmpty()) after << QStringList(ties + QStringList{later}).join(QStringLiteral(" and "));
            ties << (v.isNull() ? col + QStringLiteral(" is null") : QStringLiteral("%1=:%2").arg(col, name));
            if (!v.isNull()) values.emplace_back(name, v);
        }
        if (after.isEmpty()) {
            atEnd_ = true;
            return;
        }
    }
    QString sql = QStringLiteral("select * from (%1) qv_list").arg(base_);
    if (!after.isEmpty()) sql += QStringLiteral(" where (") + after.join(QStringLiteral(") or (")) + u')';
    sql += QStringLiteral(" order by ") + orderClause() + QStringLiteral(" limit %1").arg(count);
    Query q(db_);
    q.prepare(sql);
    bindStatement(q);
    for (const auto &[name, v] : values) q.bind(name, v);
    q.exec();

    std::vector<Row> batch;
    const int n = int(columns_.size());
    int read = 0;
    while (q.next()) {
        ++read;
        Row r;
        r.values.reserve(n);
        for (int i = 0; i < n; ++i) r.values.push_back(q.value(i));
        last_ = r;
        // A row this list stored itself is already shown where it was entered.
        if (keyIndex_ >= 0 && shown_.contains(keyText(r))) continue;
        if (keyIndex_ >= 0) shown_.insert(keyText(r));
        batch.push_back(std::move(r));
    }
    rowsRead_ += read;
    if (read < count) atEnd_ = true;
    if (batch.empty()) return;
    // A pending new row stays last.
    const int at = state_ == State::Insert ? int(rows_.size()) - 1 : int(rows_.size());
    beginInsertRows(QModelIndex(), at, at + int(batch.size()) - 1);
    rows_.insert(rows_.begin() + at, std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
    if (state_ == State::Insert) current_ = int(rows_.size()) - 1;
    endInsertRows();
}

std::vector<Money> RecordList::sums(const QStringList &columns) const
{
    QStringList parts;
    for (int i = 0; i < columns.size(); ++i) parts << QStringLiteral("sum(%1) as qv_s%2").arg(quoted(columns[i])).arg(i);
    Query q(db_);
    q.prepare(QStringLiteral("select %1 from (%2) qv_list").arg(parts.join(u','), base_));
    bindStatement(q);
    q.exec();
    std::vector<Money> out(columns.size());
    if (q.next())
        for (int i = 0; i < columns.size(); ++i) out[i] = Money::fromVariant(q.value(i));
    return out;
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
    if (!parent.isValid()) fetch(kPage);
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
    // The current row stays current when the first page brings it; the list is not
    // read on to find it.
    restoreKey(key, false);
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
    // The new row goes after the rows read so far; rows read later come before it.
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

RecordList::Write RecordList::writeRow(const Row &row, bool insert, const QVariant &key, QVariant *newKey)
{
    // The columns to write: on insert every filled one, on update the ones the
    // user changed (an empty text where nothing was stored is no change).
    QStringList cols;
    std::vector<int> positions;
    for (int c = 0; c < columns_.size(); ++c) {
        const QString &name = columns_[c];
        if (!schema_ || !schema_->column(name) || name.compare(keyColumn_, Qt::CaseInsensitive) == 0) continue;
        if (insert) {
            if (row.values[c].isNull()) continue;
        } else if (saved_) {
            // Compared in the column's own form: a day read as text is the same day typed.
            const QVariant &raw = saved_->values[c];
            const QVariant before = convert(typeOf(c), raw).value_or(raw);
            const QVariant &now = row.values[c];
            const bool emptyText = typeOf(c) == schema::Type::Text && before.isNull() && now.toString().isEmpty();
            if (emptyText || sameValue(before, now)) continue;
        }
        cols << name;
        positions.push_back(c);
    }
    Query q(db_);
    QString sql;
    if (insert) {
        QStringList ph;
        for (int i = 0; i < cols.size(); ++i) ph << QStringLiteral(":p%1").arg(i);
        sql = cols.isEmpty()
            ? QStringLiteral("insert into %1 default values").arg(table_)
            : QStringLiteral("insert into %1 (%2) values (%3)").arg(table_, cols.join(u','), ph.join(u','));
        if (!keyColumn_.isEmpty()) sql += QStringLiteral(" returning ") + keyColumn_;
        q.prepare(sql);
        for (int i = 0; i < cols.size(); ++i) q.bind(QStringLiteral("p%1").arg(i), row.values[positions[i]]);
        if (!keyColumn_.isEmpty()) {
            const qint64 k = q.execReturningKey();
            if (newKey) *newKey = k;
        } else {
            q.exec();
        }
        announce();
        return Write::Stored;
    }
    if (cols.isEmpty()) return Write::Unchanged;
    // Only where the row still holds what was read in the columns written: another
    // workstation's change of those columns is never overwritten, and its change
    // of any other column is kept. The values read are compared as the store gave
    // them (exact numerics on both engines); an empty value only with "is null".
    QStringList sets, checks;
    for (int i = 0; i < cols.size(); ++i) {
        sets << QStringLiteral("%1=:p%2").arg(cols[i]).arg(i);
        const QVariant &before = saved_ ? saved_->values[positions[i]] : QVariant();
        checks << (before.isNull() ? QStringLiteral("%1 is null").arg(cols[i]) : QStringLiteral("%1=:o%2").arg(cols[i]).arg(i));
    }
    sql = QStringLiteral("update %1 set %2 where %3=:qv_key and %4")
              .arg(table_, sets.join(u','), keyColumn_, checks.join(QStringLiteral(" and ")));
    q.prepare(sql);
    for (int i = 0; i < cols.size(); ++i) {
        q.bind(QStringLiteral("p%1").arg(i), row.values[positions[i]]);
        const QVariant &before = saved_ ? saved_->values[positions[i]] : QVariant();
        if (!before.isNull()) q.bind(QStringLiteral("o%1").arg(i), before);
    }
    q.bind(QStringLiteral("qv_key"), key);
    q.exec();
    if (q.numRowsAffected() > 0) {
        announce();
        return Write::Stored;
    }
    Query exists(db_);
    exists.prepare(QStringLiteral("select count(*) as n from %1 where %2=:qv_key").arg(table_, keyColumn_));
    exists.bind(QStringLiteral("qv_key"), key).exec();
    return exists.next() && exists.integer(QStringLiteral("n")) > 0 ? Write::Changed : Write::Deleted;
}

void RecordList::announce()
{
    ChangeNotices::Changes what = ChangeNotices::MasterData;
    if (table_ == QStringLiteral("库房名称")) what |= ChangeNotices::Warehouses;
    announceChange(db_, what, table_);
}

std::optional<RecordList::Row> RecordList::readRow(const QVariant &key)
{
    // Through the list's own statement, so joined and computed columns come too;
    // nothing when the row is gone or no longer belongs to the list.
    Query q(db_);
    q.prepare(QStringLiteral("select * from (%1) qv_list where %2=:qv_key").arg(base_, quoted(columns_[keyIndex_])));
    bindStatement(q);
    q.bind(QStringLiteral("qv_key"), key).exec();
    if (!q.next()) return std::nullopt;
    Row r;
    for (int i = 0; i < columns_.size(); ++i) r.values.push_back(q.value(i));
    return r;
}

void RecordList::replaceRow(int row, std::optional<Row> fresh)
{
    if (row < 0 || row >= int(rows_.size())) return;
    if (fresh) {
        shown_.insert(keyText(*fresh));
        rows_[row] = std::move(*fresh);
        Q_EMIT dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    if (current_ >= int(rows_.size())) current_ = int(rows_.size()) - 1;
}

bool RecordList::post(const QHash<QString, QString> &labels)
{
    conflicted_ = false;
    if (state_ == State::Browse || current_ < 0) return true;
    if (!schema_ || keyColumn_.isEmpty() || keyIndex_ < 0) {
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
    const QVariant key = insert ? QVariant() : rows_[current_].values[keyIndex_];
    QVariant newKey = key;
    Write result = Write::Unchanged;
    try {
        Transaction tx(db_);
        result = writeRow(row, insert, key, &newKey);
        if (result == Write::Deleted) throw DbError(QStringLiteral("该记录已被删除，无法保存"));
        if (result == Write::Changed) {
            // Nothing was written; the row as stored now replaces what was shown.
            std::optional<Row> fresh = readRow(key);
            tx.commit();
            conflicted_ = true;
            const int at = current_;
            if (fresh) {
                saved_ = *fresh;
                replaceRow(at, std::move(fresh));
            } else {
                state_ = State::Browse;
                saved_.reset();
                replaceRow(at, std::nullopt);
                setCurrentRow(current_);
            }
            messages().error(QStringLiteral("该记录已被其他工作站修改，已重新读取，请重新修改"));
            return false;
        }
        tx.commit();
    } catch (const DbError &e) {
        messages().error(e.text());
        return false;
    }
    const int at = current_;
    state_ = State::Browse;
    saved_.reset();
    if (result != Write::Unchanged) {
        // The row as stored (defaults and computed columns included) where it was
        // shown; rows read later skip it.
        try {
            replaceRow(at, readRow(newKey));
        } catch (const DbError &e) {
            messages().error(e.text());
        }
        const int keep = current_;
        current_ = -1;
        setCurrentRow(keep);
    }
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
    if (keyColumn_.isEmpty() || keyIndex_ < 0) {
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
        // A row another workstation deleted first is simply gone; nothing to announce.
        if (q.numRowsAffected() > 0) announce();
        tx.commit();
    } catch (const DbError &e) {
        messages().error(e.text());
        return false;
    }
    replaceRow(row, std::nullopt);
    // Stay where the deleted row was.
    if (row >= int(rows_.size()) && !atEnd_) fetch(kPage);
    current_ = -1;
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
            view->setColumnHidden(c, isOrderColumn(columns_[c])
                                         || (!columns.isEmpty() && !columns.contains(columns_[c], Qt::CaseInsensitive)));
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
