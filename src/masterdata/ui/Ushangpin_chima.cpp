#include "masterdata/ui/Ushangpin_chima.h"

#include "app/Udm.h"
#include "ui/TwoPages.h"
#include "ui/Guard.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QShowEvent>
#include <QTableView>

namespace {

const QString kNothingToDelete = QStringLiteral("没有尺码规则可以删除");

} // namespace

TFshangpin_chima::TFshangpin_chima(QWidget *parent)
    : ListWindow(QStringLiteral("商品尺码"), QStringLiteral("商品尺码"), parent)
{
    setObjectName(QStringLiteral("TFshangpin_chima"));
    // Each page carries its own buttons.
    buttonRow()->parentWidget()->hide();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    body()->addWidget(PageControl1, 1);

    OperationsPage rulesPage(PageControl1, QStringLiteral("TabSheet1"), QStringLiteral("尺码规则"));
    connect(rulesPage.button(QStringLiteral("Button3"), QStringLiteral("新增")), &QPushButton::clicked, this,
            &TFshangpin_chima::Button3Click);
    connect(rulesPage.button(QStringLiteral("Button4"), QStringLiteral("删除")), &QPushButton::clicked, this,
            &TFshangpin_chima::Button4Click);
    DBGridEh2 = new QTableView;
    DBGridEh2->setObjectName(QStringLiteral("DBGridEh2"));
    rulesPage.addGrid(DBGridEh2);

    OperationsPage sizesPage(PageControl1, QStringLiteral("TabSheet2"), QStringLiteral("尺码明细规则"));
    connect(sizesPage.button(QStringLiteral("Button1"), QStringLiteral("新增")), &QPushButton::clicked, this,
            &TFshangpin_chima::Button1Click);
    connect(sizesPage.button(QStringLiteral("Button2"), QStringLiteral("删除")), &QPushButton::clicked, this,
            &TFshangpin_chima::Button2Click);
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumWidth(160);
    sizesPage.addToRow(ComboBox1);
    body()->removeWidget(grid());
    sizesPage.addGrid(grid());

    ADOQuery2 = new RecordList(DM->ADOConnection1, QStringLiteral("尺码规则"), this);

    // Opens on the sizes page the first time; afterwards on the page last shown.
    PageControl1->setCurrentIndex(1);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TFshangpin_chima::PageControl1Change);
    connect(ComboBox1, &QComboBox::activated, this, &TFshangpin_chima::ComboBox1Select);
    resize(640, 520);
}

void TFshangpin_chima::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) FormShow();
    ListWindow::showEvent(event);
}

void TFshangpin_chima::FormShow()
{
    guarded([&] {
        list().load();
        ADOQuery2->load();
        if (!attached_) {
            list().attach(grid(), {QStringLiteral("尺码规则"), QStringLiteral("尺码"), QStringLiteral("排序编号")},
                          {QStringLiteral("排序编号")});
            ADOQuery2->attach(DBGridEh2, {QStringLiteral("尺码规则")});
            attached_ = true;
        }
    });
}

void TFshangpin_chima::PageControl1Change()
{
    guarded([&] {
        Query ADOQuery3(DM->ADOConnection1);
        ADOQuery3.exec(QStringLiteral("select * from 尺码规则"));
        ComboBox1->clear();
        while (ADOQuery3.next()) ComboBox1->addItem(ADOQuery3.text(QStringLiteral("尺码规则")));
    });
}

void TFshangpin_chima::ComboBox1Select()
{
    // The rule's sizes in the order every size-by-colour grid shows them.
    guarded([&] {
        list().load(QStringLiteral("select * from 商品尺码 where 尺码规则=:尺码规则 order by 排序编号,id"),
                    {{QStringLiteral("尺码规则"), ComboBox1->currentText()}});
    });
}

void TFshangpin_chima::Button1Click()
{
    guarded([&] { addRecord(QStringLiteral("TFshangpin_chima_add")); });
}

void TFshangpin_chima::Button2Click()
{
    if (list().isEmpty()) {
        messages().information(kNothingToDelete);
        return;
    }
    guarded([&] { deleteRecord(); });
}

void TFshangpin_chima::Button3Click()
{
    guarded([&] {
        ADOQuery2->append();
        if (RecordEditor::openFor(QStringLiteral("TFchima_guize_add"), *ADOQuery2) < 0) ADOQuery2->cancel();
    });
}

void TFshangpin_chima::Button4Click()
{
    if (ADOQuery2->isEmpty()) {
        messages().information(kNothingToDelete);
        return;
    }
    if (!DeleteConfirmation()) return;
    guarded([&] { ADOQuery2->deleteCurrent(); });
}
