#include "masterdata/ui/Ushangpin_leibie.h"

TFshangpin_leibie::TFshangpin_leibie(QWidget *parent)
    : NameListWindow(QStringLiteral("TFshangpin_leibie"), QStringLiteral("商品类型"), QStringLiteral("商品类型"), QStringLiteral("商品类别设置"),
                     QStringLiteral("TFshangpin_leibie_add"), parent)
{
}
