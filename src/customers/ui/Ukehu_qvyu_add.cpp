#include "customers/ui/Ukehu_qvyu_add.h"

#include <QLineEdit>

TFkehu_qvyu_add::TFkehu_qvyu_add(QWidget *parent)
    : PatternEditor(QStringLiteral("TFkehu_qvyu_add"), QStringLiteral("客户区域编辑"), parent)
{
    DBEdit1 = addField<QLineEdit>(QStringLiteral("DBEdit1"), QStringLiteral("客户区域"), QStringLiteral("区域"));
}
