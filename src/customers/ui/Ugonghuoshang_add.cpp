#include "customers/ui/Ugonghuoshang_add.h"

namespace {

AccountEditor::Options options()
{
    AccountEditor::Options o;
    o.className = QStringLiteral("TFgonghuoshang_add");
    o.caption = QStringLiteral("供货商信息编辑");
    o.nameColumn = QStringLiteral("供货商名称");
    o.nameLabel = QStringLiteral("供货商名称");
    o.balanceColumn = QStringLiteral("我方应付金额");
    o.balanceLabel = QStringLiteral("期初应付");
    o.balanceHint = QStringLiteral("期初时我方欠此供货商的货款金额");
    // A supplier is stored as entered, without a name check.
    return o;
}

} // namespace

TFgonghuoshang_add::TFgonghuoshang_add(QWidget *parent) : AccountEditor(options(), parent) {}
