#include "masterdata/ui/Ufendian_shezhi.h"

namespace {

PatternList::Options options()
{
    PatternList::Options o;
    o.className = QStringLiteral("TFfendian_shezhi");
    o.table = QStringLiteral("分店");
    o.caption = QStringLiteral("分店设置");
    o.editorClass = QStringLiteral("TFfendian_add");
    o.columns = {QStringLiteral("分店")};
    return o;
}

} // namespace

TFfendian_shezhi::TFfendian_shezhi(QWidget *parent) : PatternList(options(), parent)
{
    resize(420, 460);
}
