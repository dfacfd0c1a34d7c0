#include "customers/ui/Ugonghuoshang_list.h"

namespace {

PatternList::Options options()
{
    PatternList::Options o;
    o.className = QStringLiteral("TFgonghuoshang_list");
    o.table = QStringLiteral("供货商");
    o.caption = QStringLiteral("供货商列表");
    o.editorClass = QStringLiteral("TFgonghuoshang_add");
    o.columns = {QStringLiteral("供货商名称"), QStringLiteral("联系人"), QStringLiteral("联系电话"),
                 QStringLiteral("联系地址"), QStringLiteral("我方应付金额"), QStringLiteral("备注")};
    o.presets = {{QStringLiteral("我方应付金额"), 0}};
    return o;
}

} // namespace

TFgonghuoshang_list::TFgonghuoshang_list(QWidget *parent) : PatternList(options(), parent) {}
