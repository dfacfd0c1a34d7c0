#include "masterdata/ui/Ushangpin_chima_add.h"

namespace {

NameEditor::Options options()
{
    NameEditor::Options o;
    o.className = QStringLiteral("TFshangpin_chima_add");
    o.caption = QStringLiteral("商品尺码编辑");
    o.column = QStringLiteral("尺码");
    o.label = QStringLiteral("商品尺码");
    o.secondButton = QStringLiteral("取消");
    o.enterPosts = true;
    o.group = NameEditor::Group{QStringLiteral("尺码规则"), QStringLiteral("尺码规则"), QStringLiteral("尺码规则")};
    return o;
}

} // namespace

TFshangpin_chima_add::TFshangpin_chima_add(QWidget *parent) : NameEditor(options(), parent) {}
