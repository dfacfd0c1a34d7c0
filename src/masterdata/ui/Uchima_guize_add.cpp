#include "masterdata/ui/Uchima_guize_add.h"

namespace {

NameEditor::Options options()
{
    NameEditor::Options o;
    o.className = QStringLiteral("TFchima_guize_add");
    o.caption = QStringLiteral("尺码规则添加");
    o.column = QStringLiteral("尺码规则");
    o.label = QStringLiteral("尺码规则");
    o.secondButton = QStringLiteral("取消");
    o.enterPosts = false;
    return o;
}

} // namespace

TFchima_guize_add::TFchima_guize_add(QWidget *parent) : NameEditor(options(), parent) {}
