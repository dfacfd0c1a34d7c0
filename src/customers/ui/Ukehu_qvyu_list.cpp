#include "customers/ui/Ukehu_qvyu_list.h"

namespace {

PatternList::Options options()
{
    PatternList::Options o;
    o.className = QStringLiteral("TFkehu_qvyu_list");
    o.table = QStringLiteral("区域");
    o.caption = QStringLiteral("客户区域");
    o.editorClass = QStringLiteral("TFkehu_qvyu_add");
    o.columns = {QStringLiteral("区域")};
    return o;
}

} // namespace

TFkehu_qvyu_list::TFkehu_qvyu_list(QWidget *parent) : PatternList(options(), parent)
{
    resize(420, 460);
}
