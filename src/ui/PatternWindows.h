#pragma once

#include "ui/EditorForm.h"
#include "ui/RecordEditor.h"

#include <QStringList>
#include <QVariantMap>
#include <vector>

class QLineEdit;
class QPushButton;
class QShowEvent;

// A list window of the list-and-editor pattern with the usual buttons under
// "操作" (新增, 修改, 删除, 退出, in the order a window gives) and handlers
// ButtonNClick for the N-th of them. 新增 and 修改 open the window's editor.
class PatternList : public ListWindow {
    Q_OBJECT
public:
    enum class Action { Add, Edit, Delete, Exit };
    struct Options {
        QString className;
        QString table;
        QString caption;
        QString editorClass;
        QStringList columns;             // the grid's columns in order
        QStringList editable;            // columns edited in place in the grid
        QVariantMap presets;             // values of a new row
        std::vector<Action> buttons{Action::Add, Action::Edit, Action::Delete, Action::Exit};
        bool confirmDelete = true;       // ask the DeleteConfirmation first
        QStringList order;               // the list's order when it is not the key
        Database *database = nullptr;    // the main database when null
    };

    PatternList(Options options, QWidget *parent = nullptr);

public Q_SLOTS:
    void FormShow();
    void Button1Click() { run(0); }
    void Button2Click() { run(1); }
    void Button3Click() { run(2); }
    void Button4Click() { run(3); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void run(std::size_t button);

    Options options_;
    bool attached_ = false;
};

// An editor of the pattern: labelled controls bound to the list's current row
// above the buttons 确定 (Button1: the editor's own checks, then post) and
// 取消 (Button2). No button is a default button, so Enter does only what an
// editor connects it to (enterPosts).
class PatternEditor : public RecordEditor {
    Q_OBJECT
public:
    PatternEditor(const QString &className, const QString &caption, QWidget *parent = nullptr);

public Q_SLOTS:
    void Button1Click();
    void Button2Click() { reject(); }

protected:
    // A control named objectName with its label, bound to column; the label also
    // names the field in messages about its value.
    template <typename W>
    W *addField(const QString &objectName, const QString &label, const QString &column)
    {
        W *w = layout_.field<W>(objectName, label);
        fields().bind(w, column, label);
        return w;
    }
    // Enter in edit clicks 确定.
    void enterPosts(QLineEdit *edit);
    // The editor's own checks before posting: false (after saying why) stops 确定.
    virtual bool check() { return true; }

    QFormLayout *form() const { return layout_.form(); }

private:
    EditorForm layout_;
};
