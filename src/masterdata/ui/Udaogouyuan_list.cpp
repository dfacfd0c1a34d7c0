#include "masterdata/ui/Udaogouyuan_list.h"

namespace {

PatternList::Options options()
{
    PatternList::Options o;
    o.className = QStringLiteral("TFdaogouyuan_list");
    o.table = QStringLiteral("导购员");
    o.caption = QStringLiteral("导购员列表");
    o.editorClass = QStringLiteral("TFdaogouyuan_add");
    o.columns = {QStringLiteral("姓名")};
    o.editable = o.columns;
    // This list has 退出 before 删除, and deletes at once.
    using A = PatternList::Action;
    o.buttons = {A::Add, A::Edit, A::Exit, A::Delete};
    o.confirmDelete = false;
    return o;
}

} // namespace

TFdaogouyuan_list::TFdaogouyuan_list(QWidget *parent) : PatternList(options(), parent)
{
    resize(420, 460);
}
