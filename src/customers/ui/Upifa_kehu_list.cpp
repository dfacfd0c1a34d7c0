#include "customers/ui/Upifa_kehu_list.h"

namespace {

PatternList::Options options()
{
    PatternList::Options o;
    o.className = QStringLiteral("TFpifa_kehu_list");
    o.table = QStringLiteral("批发客户资料");
    o.caption = QStringLiteral("批发客户资料");
    o.editorClass = QStringLiteral("TFpifa_kehu_add");
    o.columns = {QStringLiteral("客户名称"), QStringLiteral("联系人"), QStringLiteral("联系电话"),
                 QStringLiteral("联系地址"), QStringLiteral("我方应收金额"), QStringLiteral("备注")};
    o.presets = {{QStringLiteral("我方应收金额"), 0}};
    return o;
}

} // namespace

TFpifa_kehu_list::TFpifa_kehu_list(QWidget *parent) : PatternList(options(), parent) {}
