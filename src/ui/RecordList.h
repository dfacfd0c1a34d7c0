#pragma once

#include "app/Database.h"
#include "app/schema/Schema.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <memory>
#include <optional>
#include <vector>

class QTableView;

// The editable result of a list window: the one mechanism behind every list and
// editor pair of the program (categories, goods, members, operators, ...).
//
// It shows a statement on one table (by default "select * from <table>", with
// bound parameters) in a stable, explicit order: the statement's own trailing
// "order by" (or setOrder()), always completed by the key, so that two rows never
// tie. Rows are read a page at a time as the grid scrolls (keyset paging: each
// page starts after the last row read), so a list opens at once and holds no open
// read on the connection, whatever the table's size. Clicking a title orders by
// that column, then the key.
//
// It follows the list-and-editor pattern: append() or edit() opens a pending
// row, the editor sets its fields, post() checks every value against the
// column's type and writes the row in one transaction, cancel() discards what
// was not posted, deleteCurrent() removes the current row. Grids attached with
// attach() may edit chosen columns in place; an in-place change is stored when
// the user leaves the row.
//
// Several workstations: saving an edited row writes only the columns the user
// changed, and only if the stored row still holds, in those columns, what was
// read; otherwise nothing is written, the row is read again and the user is
// asked to change it again. Every stored change is announced (ChangeNotices)
// once its transaction has committed.
class RecordList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class State { Browse, Insert, Edit };

    RecordList(Database &db, QString table, QObject *parent = nullptr);
    ~RecordList() override;

    Database &database() const { return db_; }
    const QString &table() const { return table_; }

    // Runs the statement (empty: "select * from <table>") and shows its first page
    // of rows. A trailing "order by" of the statement is the list's order (names
    // of result columns); the key completes it. Pending changes are discarded.
    // Throws DbError.
    void load(const QString &sql = QString(), const QVariantMap &params = QVariantMap());
    // Runs the last statement again and goes back to the row with the same key.
    void reload();
    // The order of a statement without an "order by" of its own (result columns,
    // each optionally followed by "desc"); the key when none is given.
    void setOrder(const QStringList &columns) { order_ = columns; }
    // The order the rows are read in, as written into the statement.
    QString orderClause() const;
    // Sums of the given columns over every row of the statement (not only the rows
    // read so far), computed by the server in one statement. Throws DbError.
    std::vector<Money> sums(const QStringList &columns) const;
    // Rows read from the store since the last load (for tests of the paging).
    qint64 rowsRead() const { return rowsRead_; }

    // Rows fetched so far plus a pending new row.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool canFetchMore(const QModelIndex &parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex &parent = QModelIndex()) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    void fetchAll();

    int columnIndex(const QString &name) const;   // -1 when the result has no such column
    QString columnName(int column) const;
    void setTitle(const QString &column, const QString &title);

    // The current row (followed from the attached grid); -1 when there is none.
    int currentRow() const { return current_; }
    void setCurrentRow(int row);
    bool isEmpty() const { return rowCount() == 0; }
    // A stored or pending value of a row ("" columns read as null).
    QVariant value(int row, const QString &column) const;
    QVariant current(const QString &column) const { return value(current_, column); }
    QVariant currentKey() const;

    // The pattern.
    State state() const { return state_; }
    // Appends an empty row (with the given preset values) and makes it current.
    void append(const QVariantMap &presets = QVariantMap());
    // Puts the current row into edit state; false when there is no row.
    bool edit();
    // Sets a field of the row being inserted or edited (text from a control, or a typed value).
    void setField(const QString &column, const QVariant &value);
    QVariant field(const QString &column) const { return current(column); }
    // Checks the pending values against the column types and writes the row in one
    // transaction. A value that does not fit (text in a numeric column) is refused
    // with a message naming the field (labels maps a column to its label) and
    // nothing is written; a store error is shown as it comes. Returns whether the row
    // was stored; on failure the row stays pending with what was typed, except when
    // another workstation changed the row meanwhile: then the row holds what is
    // stored now (still pending, so it can be changed again) and conflicted() is set.
    bool post(const QHash<QString, QString> &labels = {});
    // Whether the last post() was refused because the row had changed meanwhile.
    bool conflicted() const { return conflicted_; }
    // Discards the pending row or changes.
    void cancel();
    // Deletes the current row by its key in one transaction; with no row, says so.
    bool deleteCurrent();

    // Shows the list in a grid: the given columns in that order (all when empty),
    // read-only except editableColumns, sortable by clicking a title.
    void attach(QTableView *view, const QStringList &columns = {}, const QStringList &editableColumns = {});

    // Converts typed input to the stored form of a column type: empty -> null for
    // numbers and dates; text that is not a number -> nothing.
    static std::optional<QVariant> convert(schema::Type type, const QVariant &input);

Q_SIGNALS:
    void currentRowChanged(int row);
    // After a row was stored by post() (also in-place edits).
    void rowPosted();

private:
    struct Row {
        std::vector<QVariant> values;
    };
    schema::Type typeOf(int column) const;
    struct OrderTerm {
        int column;
        bool descending;
    };
    enum class Write { Stored, Unchanged, Deleted, Changed };
    void fetch(int count);
    bool postInPlace();
    void restoreKey(const QVariant &key, bool readOn = true);
    void bindStatement(Query &q) const;
    void buildOrder(const QStringList &stated);
    std::optional<Row> readRow(const QVariant &key);
    void replaceRow(int row, std::optional<Row> fresh);
    Write writeRow(const Row &row, bool insert, const QVariant &key, QVariant *newKey);
    void announce();
    QString keyText(const Row &row) const;

    Database &db_;
    QString table_;
    QString keyColumn_;
    const schema::Table *schema_ = nullptr;
    QStringList columns_;
    std::vector<schema::Type> types_;
    std::vector<QMetaType> fieldTypes_;
    QHash<QString, QString> titles_;
    QSet<int> editable_;
    std::vector<Row> rows_;
    bool atEnd_ = true;
    QString sql_;          // as given to load()
    QString base_;         // the statement without its trailing order
    QVariantMap params_;
    QStringList order_;    // setOrder()
    std::vector<OrderTerm> terms_;
    int keyIndex_ = -1;    // the key's position in the result, -1 when it has none
    std::optional<Row> last_;   // the last row read from the store (where the next page starts)
    QSet<QString> shown_;  // keys of the rows shown, so a row stored meanwhile is never shown twice
    qint64 rowsRead_ = 0;
    bool conflicted_ = false;
    QString sortColumn_;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    int current_ = -1;
    State state_ = State::Browse;
    std::optional<Row> saved_;     // the row as stored, while it is edited
    QPointer<QTableView> view_;
};
