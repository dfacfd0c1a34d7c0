#include "masterdata/ui/Ushangpin_list.h"

#include "ui/Guard.h"
#include "ui/WindowRegistry.h"

#include <QPushButton>
#include <QShowEvent>

TFshangpin_list::TFshangpin_list(QWidget *parent)
    : ListWindow(QStringLiteral("商品列表"), QStringLiteral("商品清单"), parent)
{
    setObjectName(QStringLiteral("TFshangpin_list"));
    connect(addButton(QStringLiteral("Button1"), QStringLiteral("新增")), &QPushButton::clicked, this,
            &TFshangpin_list::Button1Click);
    connect(addButton(QStringLiteral("Button4"), QStringLiteral("修改")), &QPushButton::clicked, this,
            &TFshangpin_list::Button4Click);
    connect(addButton(QStringLiteral("Button2"), QStringLiteral("删除")), &QPushButton::clicked, this,
            &TFshangpin_list::Button2Click);
    connect(addButton(QStringLiteral("Button5"), QStringLiteral("条码管理")), &QPushButton::clicked, this,
            &TFshangpin_list::Button5Click);
    connect(addButton(QStringLiteral("Button3"), QStringLiteral("退出")), &QPushButton::clicked, this,
            &TFshangpin_list::Button3Click);
    list().setTitle(QStringLiteral("id"), QStringLiteral("自动编码"));
    resize(1000, 560);
}

void TFshangpin_list::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) FormShow();
    ListWindow::showEvent(event);
}

void TFshangpin_list::FormShow()
{
    // The list fetches rows as the grid scrolls, so a large catalogue opens at once.
    guarded([&] {
        list().load();
        if (!attached_) {
            list().attach(grid(), {QStringLiteral("id"), QStringLiteral("商品名称"), QStringLiteral("商品类别"),
                                   QStringLiteral("品牌"), QStringLiteral("货号"), QStringLiteral("预设进价"),
                                   QStringLiteral("零售价格"), QStringLiteral("尺码规则"), QStringLiteral("颜色组"),
                                   QStringLiteral("条码格式"), QStringLiteral("备注")});
            attached_ = true;
        }
    });
}

void TFshangpin_list::Button1Click()
{
    guarded([&] { addRecord(QStringLiteral("TFshangpin_add"), {{QStringLiteral("数量"), 0}}); });
}

void TFshangpin_list::Button4Click()
{
    guarded([&] { editRecord(QStringLiteral("TFshangpin_add")); });
}

void TFshangpin_list::Button2Click()
{
    guarded([&] { deleteRecord(); });
}

void TFshangpin_list::Button5Click() { openWindow(QStringLiteral("TFtiaoma_guanli")); }

void TFshangpin_list::Button3Click() { close(); }
