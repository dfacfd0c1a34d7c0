#include "masterdata/ui/Ufendian_add.h"

#include <QLineEdit>

TFfendian_add::TFfendian_add(QWidget *parent) : PatternEditor(QStringLiteral("TFfendian_add"), QStringLiteral("分店信息编辑"), parent)
{
    DBEdit1 = addField<QLineEdit>(QStringLiteral("DBEdit1"), QStringLiteral("分店名称"), QStringLiteral("分店"));
    enterPosts(DBEdit1);
}
