#include "customers/ui/Upifa_kehu_add.h"

namespace {

AccountEditor::Options options()
{
    AccountEditor::Options o;
    o.className = QStringLiteral("TFpifa_kehu_add");
    o.caption = QStringLiteral("批发客户信息编辑");
    o.nameColumn = QStringLiteral("客户名称");
    o.nameLabel = QStringLiteral("客户名称");
    o.balanceColumn = QStringLiteral("我方应收金额");
    o.balanceLabel = QStringLiteral("期初应收");
    o.balanceHint = QStringLiteral("期初时该客户欠我方的货款");
    o.blankNameMessage = QStringLiteral("客户姓名不能为空");
    return o;
}

} // namespace

TFpifa_kehu_add::TFpifa_kehu_add(QWidget *parent) : AccountEditor(options(), parent) {}
