#include "masterdata/ui/Ukufang_add.h"

#include "app/Udm.h"
#include "ui/Guard.h"

#include <QComboBox>
#include <QLineEdit>
#include <QShowEvent>

TFkufang_add::TFkufang_add(QWidget *parent) : PatternEditor(QStringLiteral("TFkufang_add"), QStringLiteral("库房信息编辑"), parent)
{
    DBComboBox1 = addField<QComboBox>(QStringLiteral("DBComboBox1"), QStringLiteral("所属分店"), QStringLiteral("所属分店"));
    DBComboBox1->setEditable(true);
    DBComboBox1->setInsertPolicy(QComboBox::NoInsert);
    DBEdit1 = addField<QLineEdit>(QStringLiteral("DBEdit1"), QStringLiteral("库房名称"), QStringLiteral("库房名称"));
    enterPosts(DBEdit1);
}

void TFkufang_add::FormShow()
{
    guarded([&] {
        DBComboBox1->clear();
        DBComboBox1->addItem(QStringLiteral("总部"));
        Query q(DM->ADOConnection1);
        q.exec(QStringLiteral("select * from 分店"));
        while (q.next()) DBComboBox1->addItem(q.text(QStringLiteral("分店")));
    });
}

void TFkufang_add::showEvent(QShowEvent *event)
{
    // The items first: the bound row's branch is shown over them.
    if (!event->spontaneous()) FormShow();
    PatternEditor::showEvent(event);
}
