#include "masterdata/ui/Ushangpin_leibie_add.h"

namespace {

NameEditor::Options options()
{
    NameEditor::Options o;
    o.className = QStringLiteral("TFshangpin_leibie_add");
    o.caption = QStringLiteral("商品类别编辑");
    o.column = QStringLiteral("商品类型");
    o.label = QStringLiteral("商品类别");
    o.secondButton = QStringLiteral("退出");
    o.enterPosts = true;
    return o;
}

} // namespace

TFshangpin_leibie_add::TFshangpin_leibie_add(QWidget *parent) : NameEditor(options(), parent) {}
