#include "masterdata/ui/Uyanse_list.h"

#include "app/Udm.h"
#include "ui/TwoPages.h"
#include "ui/Guard.h"
#include "ui/Messages.h"

#include <QShowEvent>
#include <QTableView>

TFyanse_list::TFyanse_list(QWidget *parent) : ListWindow(QStringLiteral("颜色组"), QStringLiteral("颜色设置"), parent)
{
    setObjectName(QStringLiteral("TFyanse_list"));
    // Each page carries its own buttons.
    buttonRow()->parentWidget()->hide();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    body()->addWidget(PageControl1, 1);

    OperationsPage groupsPage(PageControl1, QStringLiteral("TabSheet1"), QStringLiteral("颜色分类"));
    connect(groupsPage.button(QStringLiteral("Button1"), QStringLiteral("新增")), &QPushButton::clicked, this,
            &TFyanse_list::Button1Click);
    connect(groupsPage.button(QStringLiteral("Button2"), QStringLiteral("删除")), &QPushButton::clicked, this,
            &TFyanse_list::Button2Click);
    body()->removeWidget(grid());
    groupsPage.addGrid(grid());

    OperationsPage coloursPage(PageControl1, QStringLiteral("TabSheet2"), QStringLiteral("颜色明细设置"));
    connect(coloursPage.button(QStringLiteral("Button3"), QStringLiteral("新增")), &QPushButton::clicked, this,
            &TFyanse_list::Button3Click);
    connect(coloursPage.button(QStringLiteral("Button4"), QStringLiteral("删除")), &QPushButton::clicked, this,
            &TFyanse_list::Button4Click);
    connect(coloursPage.button(QStringLiteral("Button5"), QStringLiteral("退出")), &QPushButton::clicked, this,
            &TFyanse_list::Button5Click);
    DBGridEh2 = new QTableView;
    DBGridEh2->setObjectName(QStringLiteral("DBGridEh2"));
    coloursPage.addGrid(DBGridEh2);

    ADOQuery2 = new RecordList(DM->ADOConnection1, QStringLiteral("颜色列表"), this);
    resize(560, 500);
}

void TFyanse_list::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) FormShow();
    ListWindow::showEvent(event);
}

void TFyanse_list::FormShow()
{
    PageControl1->setCurrentIndex(0);
    guarded([&] {
        list().load();
        ADOQuery2->load();
        if (!attached_) {
            list().attach(grid(), {QStringLiteral("颜色组")});
            ADOQuery2->attach(DBGridEh2, {QStringLiteral("颜色组"), QStringLiteral("颜色")});
            attached_ = true;
        }
    });
}

void TFyanse_list::Button1Click()
{
    guarded([&] { addRecord(QStringLiteral("TFyanse_fenlei_add")); });
}

void TFyanse_list::Button2Click()
{
    guarded([&] { deleteRecord(); });
}

void TFyanse_list::Button3Click()
{
    guarded([&] {
        ADOQuery2->append();
        if (RecordEditor::openFor(QStringLiteral("TFyanse_add"), *ADOQuery2) < 0) ADOQuery2->cancel();
    });
}

void TFyanse_list::Button4Click()
{
    if (!DeleteConfirmation()) return;
    guarded([&] { ADOQuery2->deleteCurrent(); });
}

void TFyanse_list::Button5Click() { close(); }
