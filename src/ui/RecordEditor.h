#pragma once

#include "ui/RecordList.h"

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QVariantMap>
#include <vector>

class QTableView;
class QVBoxLayout;
class QHBoxLayout;
class QPushButton;

// Binds an editor's controls (QLineEdit, editable QComboBox, QPlainTextEdit,
// QDateEdit, QCheckBox) to fields of the current row of a RecordList.
class FieldBinding {
public:
    void bind(QWidget *control, const QString &column, const QString &label = QString());
    // The controls show the fields of the list's current row.
    void load(const RecordList &list);
    // The controls' contents go into the row's fields (checked when the row is posted).
    void store(RecordList &list) const;
    QHash<QString, QString> labels() const;
    QString text(const QString &column) const;
    void setText(const QString &column, const QString &text);
    QWidget *control(const QString &column) const;

private:
    struct Binding {
        QPointer<QWidget> control;
        QString column;
        QString label;
    };
    std::vector<Binding> bindings_;
};

// An editor of the list-and-editor pattern. It edits the current row of its list
// window's RecordList through bound controls: post() stores the controls into
// the row and posts it, closing the editor when the row was stored; any way of
// closing discards what was not posted.
class RecordEditor : public QDialog {
    Q_OBJECT
public:
    explicit RecordEditor(QWidget *parent = nullptr);

    void setList(RecordList *list) { list_ = list; }
    RecordList *list() const { return list_; }
    FieldBinding &fields() { return fields_; }

    // Stores, posts and closes (Accepted); false (editor stays open) when refused.
    // When another workstation changed the row meanwhile, the controls show the
    // row as stored now.
    bool post();

    // Points the editor window registered as editorClass at list and shows it
    // modally; returns the editor's result (-1 when it is not built).
    static int openFor(const QString &editorClass, RecordList &list);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    QPointer<RecordList> list_;
    FieldBinding fields_;
};

// A list window of the list-and-editor pattern: a grid over one table and a row
// of buttons under "操作". Subclasses add their buttons and handlers.
class ListWindow : public QDialog {
    Q_OBJECT
public:
    // The list is on db (the main database when none is given; the scratch lists
    // of the document windows pass temp.mdb).
    ListWindow(const QString &table, const QString &caption, QWidget *parent = nullptr, Database *db = nullptr);

    RecordList &list() { return *list_; }
    QTableView *grid() const { return grid_; }

protected:
    // Adds a button named objectName under "操作" and returns it.
    QPushButton *addButton(const QString &objectName, const QString &caption);
    // New empty row (with presets), then the editor; the pattern's "新增".
    void addRecord(const QString &editorClass, const QVariantMap &presets = {});
    // Current row into edit state, then the editor; the pattern's "修改".
    void editRecord(const QString &editorClass);
    // The pattern's "删除": after the DeleteConfirmation when confirm is set.
    void deleteRecord(bool confirm = true);

    QHBoxLayout *buttonRow() const { return buttons_; }
    QVBoxLayout *body() const { return body_; }

    // A change typed into the grid is stored before the window closes, as if the
    // user had left the row; when the store refuses it the window stays open.
    void done(int result) override;

private:
    RecordList *list_;
    QTableView *grid_;
    QHBoxLayout *buttons_;
    QVBoxLayout *body_;
};
