#include "ui/RecordEditor.h"

#include "app/Udm.h"
#include "ui/Messages.h"
#include "ui/Modal.h"
#include "ui/WindowRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString shown(const RecordList &list, const QString &column)
{
    const int c = list.columnIndex(column);
    return c < 0 ? QString() : list.data(list.index(list.currentRow(), c), Qt::DisplayRole).toString();
}

} // namespace

void FieldBinding::bind(QWidget *control, const QString &column, const QString &label)
{
    bindings_.push_back({control, column, label.isEmpty() ? column : label});
}

void FieldBinding::load(const RecordList &list)
{
    for (const Binding &b : bindings_) {
        if (!b.control) continue;
        const QString text = shown(list, b.column);
        if (auto *e = qobject_cast<QLineEdit *>(b.control)) e->setText(text);
        else if (auto *c = qobject_cast<QComboBox *>(b.control)) c->setCurrentText(text);
        else if (auto *m = qobject_cast<QPlainTextEdit *>(b.control)) m->setPlainText(text);
        else if (auto *d = qobject_cast<QDateEdit *>(b.control)) {
            const QDateTime t = sqlvalue::parseMoment(list.current(b.column));
            d->setDate(t.isValid() ? t.date() : d->minimumDate());
        } else if (auto *x = qobject_cast<QCheckBox *>(b.control)) x->setChecked(list.current(b.column).toBool());
    }
}

void FieldBinding::store(RecordList &list) const
{
    for (const Binding &b : bindings_) {
        if (!b.control) continue;
        if (auto *d = qobject_cast<QDateEdit *>(b.control))
            list.setField(b.column, d->date() == d->minimumDate() ? QVariant() : QVariant(d->date().startOfDay()));
        else if (auto *x = qobject_cast<QCheckBox *>(b.control))
            list.setField(b.column, x->isChecked());
        else
            list.setField(b.column, text(b.column));
    }
}

QHash<QString, QString> FieldBinding::labels() const
{
    QHash<QString, QString> r;
    for (const Binding &b : bindings_) r.insert(b.column, b.label);
    return r;
}

QWidget *FieldBinding::control(const QString &column) const
{
    for (const Binding &b : bindings_)
        if (b.column == column) return b.control;
    return nullptr;
}

QString FieldBinding::text(const QString &column) const
{
    QWidget *w = control(column);
    if (auto *e = qobject_cast<QLineEdit *>(w)) return e->text();
    if (auto *c = qobject_cast<QComboBox *>(w)) return c->currentText();
    if (auto *m = qobject_cast<QPlainTextEdit *>(w)) return m->toPlainText();
    if (auto *d = qobject_cast<QDateEdit *>(w)) return sqlvalue::dayText(d->date());
    return QString();
}

void FieldBinding::setText(const QString &column, const QString &text)
{
    QWidget *w = control(column);
    if (auto *e = qobject_cast<QLineEdit *>(w)) e->setText(text);
    else if (auto *c = qobject_cast<QComboBox *>(w)) c->setCurrentText(text);
    else if (auto *m = qobject_cast<QPlainTextEdit *>(w)) m->setPlainText(text);
}

RecordEditor::RecordEditor(QWidget *parent) : QDialog(parent) {}

bool RecordEditor::post()
{
    if (!list_) return false;
    fields_.store(*list_);
    if (!list_->post(fields_.labels())) {
        // Changed by another workstation meanwhile: show what is stored now, to be
        // changed again.
        if (list_->conflicted()) fields_.load(*list_);
        return false;
    }
    accept();
    return true;
}

int RecordEditor::openFor(const QString &editorClass, RecordList &list)
{
    auto *editor = windowAs<RecordEditor>(editorClass);
    if (!editor) return -1;
    editor->setList(&list);
    return showModal(*editor);
}

void RecordEditor::showEvent(QShowEvent *event)
{
    // Only when the program shows the editor: a window restored by the window
    // system keeps what was typed.
    if (list_ && !event->spontaneous()) fields_.load(*list_);
    QDialog::showEvent(event);
}

void RecordEditor::done(int result)
{
    // Whatever way the editor closes, a row that was not posted is discarded.
    if (list_) list_->cancel();
    QDialog::done(result);
}

ListWindow::ListWindow(const QString &table, const QString &caption, QWidget *parent, Database *db) : QDialog(parent)
{
    setWindowTitle(caption);
    list_ = new RecordList(db ? *db : DM->ADOConnection1, table, this);
    auto *outer = new QVBoxLayout(this);
    auto *ops = new QGroupBox(QStringLiteral("操作"), this);
    buttons_ = new QHBoxLayout(ops);
    buttons_->addStretch(1);
    outer->addWidget(ops);
    body_ = new QVBoxLayout;
    outer->addLayout(body_, 1);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGridEh1"));
    body_->addWidget(grid_, 1);
    resize(760, 520);
}

QPushButton *ListWindow::addButton(const QString &objectName, const QString &caption)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    buttons_->insertWidget(buttons_->count() - 1, b);
    return b;
}

void ListWindow::addRecord(const QString &editorClass, const QVariantMap &presets)
{
    list_->append(presets);
    if (RecordEditor::openFor(editorClass, *list_) < 0) list_->cancel();
}

void ListWindow::editRecord(const QString &editorClass)
{
    if (!list_->edit()) {
        messages().error(QStringLiteral("没有可以修改的记录"));
        return;
    }
    if (RecordEditor::openFor(editorClass, *list_) < 0) list_->cancel();
}

void ListWindow::deleteRecord(bool confirm)
{
    if (confirm && !DeleteConfirmation()) return;
    list_->deleteCurrent();
}

void ListWindow::done(int result)
{
    if (list_->state() == RecordList::State::Edit && !list_->post()) return;
    QDialog::done(result);
}
