#include "masterdata/ui/Ukufang_list.h"

namespace {

PatternList::Options options()
{
    PatternList::Options o;
    o.className = QStringLiteral("TFkufang_list");
    o.table = QStringLiteral("库房名称");
    o.caption = QStringLiteral("库房列表");
    o.editorClass = QStringLiteral("TFkufang_add");
    o.columns = {QStringLiteral("所属分店"), QStringLiteral("库房名称")};
    o.editable = o.columns;
    return o;
}

} // namespace

TFkufang_list::TFkufang_list(QWidget *parent) : PatternList(options(), parent)
{
    resize(480, 460);
}
