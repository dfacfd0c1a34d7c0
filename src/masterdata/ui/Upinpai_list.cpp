#include "masterdata/ui/Upinpai_list.h"

TFpinpai_list::TFpinpai_list(QWidget *parent)
    : NameListWindow(QStringLiteral("TFpinpai_list"), QStringLiteral("品牌"), QStringLiteral("品牌"), QStringLiteral("品牌设置"),
                     QStringLiteral("TFpinpai_add"), parent)
{
}
