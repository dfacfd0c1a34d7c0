#include "masterdata/ui/Uyanse_fenlei_add.h"

namespace {

NameEditor::Options options()
{
    NameEditor::Options o;
    o.className = QStringLiteral("TFyanse_fenlei_add");
    o.caption = QStringLiteral("颜色组编辑");
    o.column = QStringLiteral("颜色组");
    o.label = QStringLiteral("颜色组");
    o.secondButton = QStringLiteral("取消");
    o.enterPosts = true;
    return o;
}

} // namespace

TFyanse_fenlei_add::TFyanse_fenlei_add(QWidget *parent) : NameEditor(options(), parent) {}
