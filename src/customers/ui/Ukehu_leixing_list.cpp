#include "customers/ui/Ukehu_leixing_list.h"

namespace {

PatternList::Options options()
{
    PatternList::Options o;
    o.className = QStringLiteral("TFkehu_leixing_list");
    o.table = QStringLiteral("客户类型");
    o.caption = QStringLiteral("客户类型");
    o.editorClass = QStringLiteral("TFkehu_leixing_add");
    o.columns = {QStringLiteral("客户类型"), QStringLiteral("折扣率")};
    o.presets = {{QStringLiteral("折扣率"), 10}};   // a new type sells at full price
    return o;
}

} // namespace

TFkehu_leixing_list::TFkehu_leixing_list(QWidget *parent) : PatternList(options(), parent)
{
    resize(460, 460);
}
