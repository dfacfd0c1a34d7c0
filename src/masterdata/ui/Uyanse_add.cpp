#include "masterdata/ui/Uyanse_add.h"

namespace {

NameEditor::Options options()
{
    NameEditor::Options o;
    o.className = QStringLiteral("TFyanse_add");
    o.caption = QStringLiteral("颜色信息编辑");
    o.column = QStringLiteral("颜色");
    o.label = QStringLiteral("颜色");
    o.secondButton = QStringLiteral("取消");
    o.enterPosts = true;
    o.group = NameEditor::Group{QStringLiteral("颜色组"), QStringLiteral("颜色组"), QStringLiteral("颜色组")};
    return o;
}

} // namespace

TFyanse_add::TFyanse_add(QWidget *parent) : NameEditor(options(), parent) {}
