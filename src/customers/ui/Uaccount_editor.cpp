#include "customers/ui/Uaccount_editor.h"

#include "ui/Messages.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShowEvent>

AccountEditor::AccountEditor(const Options &o, QWidget *parent)
    : PatternEditor(o.className, o.caption, parent), blankNameMessage_(o.blankNameMessage)
{
    DBEdit1 = addField<QLineEdit>(QStringLiteral("DBEdit1"), o.nameLabel, o.nameColumn);
    DBEdit2 = addField<QLineEdit>(QStringLiteral("DBEdit2"), QStringLiteral("联系人"), QStringLiteral("联系人"));
    DBEdit3 = addField<QLineEdit>(QStringLiteral("DBEdit3"), QStringLiteral("联系电话"), QStringLiteral("联系电话"));
    DBEdit4 = addField<QLineEdit>(QStringLiteral("DBEdit4"), QStringLiteral("联系地址"), QStringLiteral("联系地址"));
    DBEdit5 = addField<QLineEdit>(QStringLiteral("DBEdit5"), o.balanceLabel, o.balanceColumn);
    BalanceHint = new QLabel(o.balanceHint, this);
    BalanceHint->setObjectName(QStringLiteral("BalanceHint"));
    form()->addRow(QString(), BalanceHint);
    DBMemo1 = addField<QPlainTextEdit>(QStringLiteral("DBMemo1"), QStringLiteral("客户备注"), QStringLiteral("备注"));
    DBMemo1->setTabChangesFocus(true);
    DBMemo1->setMinimumHeight(80);
}

void AccountEditor::FormShow()
{
    const bool isNew = list() && list()->state() == RecordList::State::Insert;
    form()->setRowVisible(DBEdit5, isNew);
    form()->setRowVisible(BalanceHint, isNew);
    DBEdit5->setReadOnly(!isNew);
}

void AccountEditor::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) FormShow();
    PatternEditor::showEvent(event);
}

bool AccountEditor::check()
{
    if (!blankNameMessage_.isEmpty() && DBEdit1->text().trimmed().isEmpty()) {
        messages().error(blankNameMessage_);
        return false;
    }
    return true;
}
