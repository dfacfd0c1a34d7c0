#pragma once

#include "app/Udm.h"
#include "ui/EditorForm.h"
#include "ui/PatternWindows.h"
#include "ui/Guard.h"
#include "ui/RecordEditor.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <optional>

// A flat list of names kept in one column of one table (goods categories,
// brands): a grid editable in place and the buttons 新增, 删除, 退出.
class NameListWindow : public PatternList {
    Q_OBJECT
public:
    NameListWindow(const QString &className, const QString &table, const QString &column, const QString &caption,
                   const QString &editorClass, QWidget *parent)
        : PatternList(options(className, table, column, caption, editorClass), parent)
    {
        resize(420, 460);
    }

    // Set by the editor when 确定 has stored a new row; cleared only by whoever
    // opens the list to learn whether a row was added (the goods editor).
    bool NewRowAdded = false;

private:
    static Options options(const QString &className, const QString &table, const QString &column,
                           const QString &caption, const QString &editorClass)
    {
        Options o;
        o.className = className;
        o.table = table;
        o.caption = caption;
        o.editorClass = editorClass;
        o.columns = {column};
        o.editable = {column};
        o.buttons = {Action::Add, Action::Delete, Action::Exit};
        return o;
    }
};

// An editor of one name (and, when given, the name of the group it belongs to,
// chosen from a drop-down that also takes typed text): 确定 stores the row, any
// other way of closing discards it.
class NameEditor : public RecordEditor {
    Q_OBJECT
public:
    struct Group {
        QString column;      // column of the edited row, also the column read from table
        QString label;
        QString table;       // where the drop-down's names come from
    };
    struct Options {
        QString className, caption;
        QString column, label;
        QString secondButton = QStringLiteral("取消");
        bool enterPosts = true;
        std::optional<Group> group;
    };

    NameEditor(const Options &o, QWidget *parent) : RecordEditor(parent), group_(o.group)
    {
        setObjectName(o.className);
        setWindowTitle(o.caption);
        EditorForm form(this);
        if (group_) {
            DBComboBox1 = form.field<QComboBox>(QStringLiteral("DBComboBox1"), group_->label);
            DBComboBox1->setEditable(true);
            DBComboBox1->setInsertPolicy(QComboBox::NoInsert);
            fields().bind(DBComboBox1, group_->column, group_->label);
        }
        DBEdit1 = form.field<QLineEdit>(QStringLiteral("DBEdit1"), o.label);
        fields().bind(DBEdit1, o.column, o.label);
        Button1 = form.button(QStringLiteral("Button1"), QStringLiteral("确定"));
        Button2 = form.button(QStringLiteral("Button2"), o.secondButton);
        connect(Button1, &QPushButton::clicked, this, &NameEditor::Button1Click);
        connect(Button2, &QPushButton::clicked, this, &NameEditor::Button2Click);
        if (o.enterPosts) connect(DBEdit1, &QLineEdit::returnPressed, this, &NameEditor::DBEdit1KeyPress);
        resize(360, sizeHint().height() + 12);
    }

    QComboBox *DBComboBox1 = nullptr;
    QLineEdit *DBEdit1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

public Q_SLOTS:
    void FormShow()
    {
        if (!group_) return;
        // The drop-down offers the groups as stored; the field keeps the row's value.
        DBComboBox1->clear();
        guarded([&] {
            Query q(DM->ADOConnection1);
            // In the order the groups were added.
            const schema::Table *t = schema::findTable(group_->table);
            const QString key = t ? t->keyColumn() : QString();
            q.exec(QStringLiteral("select * from ") + group_->table
                   + (key.isEmpty() ? QString() : QStringLiteral(" order by ") + key));
            while (q.next()) DBComboBox1->addItem(q.text(group_->column));
        });
    }
    void DBEdit1KeyPress() { Button1->click(); }
    void Button1Click()
    {
        const bool inserting = list() && list()->state() == RecordList::State::Insert;
        auto *owner = list() ? dynamic_cast<NameListWindow *>(list()->parent()) : nullptr;
        if (post() && inserting && owner) owner->NewRowAdded = true;
    }
    void Button2Click() { close(); }

protected:
    void showEvent(QShowEvent *event) override
    {
        if (!event->spontaneous()) FormShow();   // before the fields show the row
        RecordEditor::showEvent(event);
    }

private:
    std::optional<Group> group_;
};
