#include "masterdata/ui/Upinpai_add.h"

namespace {

NameEditor::Options options()
{
    NameEditor::Options o;
    o.className = QStringLiteral("TFpinpai_add");
    o.caption = QStringLiteral("品牌编辑");
    o.column = QStringLiteral("品牌");
    o.label = QStringLiteral("品牌名称");
    o.secondButton = QStringLiteral("取消");
    o.enterPosts = true;
    return o;
}

} // namespace

TFpinpai_add::TFpinpai_add(QWidget *parent) : NameEditor(options(), parent) {}
