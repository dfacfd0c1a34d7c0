#include "customers/ui/Ukehu_leixing_add.h"

#include <QLineEdit>

TFkehu_leixing_add::TFkehu_leixing_add(QWidget *parent)
    : PatternEditor(QStringLiteral("TFkehu_leixing_add"), QStringLiteral("客户类型编辑"), parent)
{
    DBEdit1 = addField<QLineEdit>(QStringLiteral("DBEdit1"), QStringLiteral("客户类型"), QStringLiteral("客户类型"));
    DBEdit2 = addField<QLineEdit>(QStringLiteral("DBEdit2"), QStringLiteral("折扣率"), QStringLiteral("折扣率"));
}
