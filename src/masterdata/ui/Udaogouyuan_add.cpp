#include "masterdata/ui/Udaogouyuan_add.h"

#include <QLineEdit>

// Enter in the name has no effect here.
TFdaogouyuan_add::TFdaogouyuan_add(QWidget *parent) : PatternEditor(QStringLiteral("TFdaogouyuan_add"), QStringLiteral("导购员编辑"), parent)
{
    DBEdit1 = addField<QLineEdit>(QStringLiteral("DBEdit1"), QStringLiteral("导购员"), QStringLiteral("姓名"));
}
