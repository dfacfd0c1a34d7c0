#include "masterdata/ui/Utiaoma_guanli.h"

#include "app/Money.h"
#include "app/Udm.h"
#include "masterdata/BarcodeGenerator.h"
#include "masterdata/ui/Utiaoma_bianji.h"
#include "stock/SizeColourGrid.h"
#include "ui/Guard.h"
#include "ui/Messages.h"
#include "ui/Modal.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kAllBarcodes = QStringLiteral(
    "select a.*,b.零售价格,b.商品名称 from 商品条码表 a,商品列表 b where a.商品编码=b.id");

// Each article's barcodes size by size in its size rule's order, colour by colour
// in its colour group's order, as they are generated.
QString barcodeOrder()
{
    return QStringLiteral(" order by a.商品编码,") + gridorder::sizeTerms(QStringLiteral("b.尺码规则"), QStringLiteral("a.尺码"))
           + u',' + gridorder::colourTerms(QStringLiteral("b.颜色组"), QStringLiteral("a.颜色")) + QStringLiteral(",a.id");
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFtiaoma_guanli::TFtiaoma_guanli(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFtiaoma_guanli"));
    setWindowTitle(QStringLiteral("条码管理"));

    auto *outer = new QVBoxLayout(this);
    auto *ops = new QGroupBox(QStringLiteral("操作"), this);
    auto *row = new QHBoxLayout(ops);
    row->addWidget(new QLabel(QStringLiteral("商品名称"), ops));
    Edit1 = new QLineEdit(ops);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(160);
    row->addWidget(Edit1);
    Button1 = button(ops, QStringLiteral("Button1"), QStringLiteral("查询"));
    Button2 = button(ops, QStringLiteral("Button2"), QStringLiteral("自动生成条码标签"));
    Button3 = button(ops, QStringLiteral("Button3"), QStringLiteral("条码编辑"));
    Button4 = button(ops, QStringLiteral("Button4"), QStringLiteral("成批打印条码"));
    for (QPushButton *b : {Button1, Button2, Button3, Button4}) row->addWidget(b);
    row->addStretch(1);
    outer->addWidget(ops);

    auto *split = new QSplitter(Qt::Vertical, this);
    DBGridEh1 = new QTableView(split);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setToolTip(QStringLiteral("双击进行条码设置"));
    split->addWidget(DBGridEh1);

    auto *codes = new QGroupBox(QStringLiteral("条码列表"), split);
    auto *cl = new QVBoxLayout(codes);
    auto *top = new QHBoxLayout;
    Button5 = button(codes, QStringLiteral("Button5"), QStringLiteral("返回全部"));
    top->addWidget(Button5);
    top->addStretch(1);
    cl->addLayout(top);
    DBGridEh2 = new QTableView(codes);
    DBGridEh2->setObjectName(QStringLiteral("DBGridEh2"));
    cl->addWidget(DBGridEh2);
    split->addWidget(codes);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    outer->addWidget(split, 1);

    N1 = new QAction(QStringLiteral("打印单一条码"), DBGridEh2);
    N1->setObjectName(QStringLiteral("N1"));
    DBGridEh2->setContextMenuPolicy(Qt::ActionsContextMenu);
    DBGridEh2->addAction(N1);

    // Both lists start empty and keep their contents between showings.
    ADOQuery1_ = new RecordList(DM->ADOConnection1, QStringLiteral("商品列表"), this);
    ADOQuery2_ = new RecordList(DM->ADOConnection1, QStringLiteral("商品条码表"), this);
    guarded([&] {
        ADOQuery1_->load(QStringLiteral("select * from 商品列表 where 1=0"));
        ADOQuery2_->load(kAllBarcodes + QStringLiteral(" and 1=0"));
    });
    ADOQuery1_->attach(DBGridEh1, {QStringLiteral("id"), QStringLiteral("商品名称"), QStringLiteral("商品类别"),
                                   QStringLiteral("预设进价"), QStringLiteral("零售价格"), QStringLiteral("备注"),
                                   QStringLiteral("颜色组"), QStringLiteral("数量"), QStringLiteral("货号"),
                                   QStringLiteral("尺码规则"), QStringLiteral("品牌")});
    ADOQuery2_->attach(DBGridEh2, {QStringLiteral("商品编码"), QStringLiteral("商品货号"), QStringLiteral("颜色"),
                                   QStringLiteral("尺码"), QStringLiteral("商品名称"), QStringLiteral("零售价格"),
                                   QStringLiteral("商品条码")});

    connect(Button1, &QPushButton::clicked, this, &TFtiaoma_guanli::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFtiaoma_guanli::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFtiaoma_guanli::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFtiaoma_guanli::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TFtiaoma_guanli::Button5Click);
    connect(Edit1, &QLineEdit::returnPressed, this, &TFtiaoma_guanli::Button1Click);
    connect(DBGridEh1, &QTableView::clicked, this, &TFtiaoma_guanli::DBGridEh1CellClick);
    connect(DBGridEh1, &QTableView::doubleClicked, this, &TFtiaoma_guanli::DBGridEh1DblClick);
    connect(N1, &QAction::triggered, this, &TFtiaoma_guanli::N1Click);
    resize(1000, 680);
}

void TFtiaoma_guanli::Button1Click()
{
    guarded([&] {
        ADOQuery1_->load(QStringLiteral("select * from 商品列表 where 商品名称 like :商品名称"),
                         {{QStringLiteral("商品名称"), QStringLiteral("%") + Edit1->text() + QStringLiteral("%")}});
        DBGridEh1->resizeColumnsToContents();   // to the rows now fetched
    });
}

void TFtiaoma_guanli::showBarcodes(const QString &where, const QVariantMap &params)
{
    guarded([&] {
        ADOQuery2_->load(kAllBarcodes + where + barcodeOrder(), params);
        DBGridEh2->resizeColumnsToContents();
    });
}

void TFtiaoma_guanli::DBGridEh1CellClick(const QModelIndex &index)
{
    if (!index.isValid()) return;
    ADOQuery1_->setCurrentRow(index.row());
    showBarcodes(QStringLiteral(" and a.商品编码=:商品编码"),
                 {{QStringLiteral("商品编码"), ADOQuery1_->value(index.row(), QStringLiteral("id"))}});
}

void TFtiaoma_guanli::Button5Click() { showBarcodes(); }

void TFtiaoma_guanli::Button3Click()
{
    if (ADOQuery1_->currentRow() < 0) {
        messages().information(QStringLiteral("请先查询并选择要设置条码的商品"));
        return;
    }
    auto *editor = windowAs<TFtiaoma_bianji>(QStringLiteral("TFtiaoma_bianji"));
    if (!editor) return;
    editor->articleId = ADOQuery1_->current(QStringLiteral("id")).toLongLong();
    editor->articleNo = ADOQuery1_->current(QStringLiteral("货号")).toString();
    editor->articleName = ADOQuery1_->current(QStringLiteral("商品名称")).toString();
    editor->colourGroup = ADOQuery1_->current(QStringLiteral("颜色组")).toString();
    editor->sizeRule = ADOQuery1_->current(QStringLiteral("尺码规则")).toString();
    showModal(*editor);
}

void TFtiaoma_guanli::DBGridEh1DblClick(const QModelIndex &index)
{
    if (index.isValid()) ADOQuery1_->setCurrentRow(index.row());
    Button3Click();
}

void TFtiaoma_guanli::Button2Click()
{
    // The articles listed, in the order shown; nobody else's barcodes are touched.
    ADOQuery1_->fetchAll();
    std::vector<qint64> ids;
    ids.reserve(size_t(ADOQuery1_->rowCount()));
    for (int r = 0; r < ADOQuery1_->rowCount(); ++r)
        ids.push_back(ADOQuery1_->value(r, QStringLiteral("id")).toLongLong());
    if (ids.empty()) {
        messages().information(QStringLiteral("请先查询要生成条码的商品"));
        return;
    }

    QProgressDialog progress(QStringLiteral("正在生成条码……"), QStringLiteral("取消"), 0, int(ids.size()), this);
    progress.setObjectName(QStringLiteral("BarcodeProgress"));
    progress.setWindowTitle(QStringLiteral("自动生成条码标签"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QElapsedTimer sinceUpdate;
    sinceUpdate.start();
    const auto onProgress = [&](int done, int total) {
        if (done == total || sinceUpdate.elapsed() >= 50) {
            progress.setLabelText(QStringLiteral("正在生成条码……（%1/%2）").arg(done).arg(total));
            progress.setValue(done);   // also lets the user press 取消
            sinceUpdate.restart();
        }
        return !progress.wasCanceled();
    };

    BarcodeGenerator::Result result;
    const bool ok = guarded([&] { result = BarcodeGenerator(DM->ADOConnection1).generate(ids, onProgress); });
    progress.close();
    if (!ok) return;
    if (result.cancelled) {
        messages().information(QStringLiteral("已取消生成，条码没有改变"));
        return;
    }
    messages().information(QStringLiteral("全部生成完毕"));
    showBarcodes();
}

std::vector<LabelRow> TFtiaoma_guanli::labelRows()
{
    ADOQuery2_->fetchAll();
    std::vector<LabelRow> rows;
    rows.reserve(size_t(ADOQuery2_->rowCount()));
    for (int r = 0; r < ADOQuery2_->rowCount(); ++r) {
        LabelRow row;
        for (int c = 0; c < ADOQuery2_->columnCount(); ++c)
            row.insert(ADOQuery2_->columnName(c), ADOQuery2_->data(ADOQuery2_->index(r, c)).toString());
        const QVariant price = ADOQuery2_->value(r, QStringLiteral("零售价格"));
        if (!price.isNull()) row.insert(QStringLiteral("零售价格"), QString::number(Money::fromVariant(price).toDouble(), 'f', 2));
        rows.push_back(row);
    }
    return rows;
}

void TFtiaoma_guanli::printLabels()
{
    const std::vector<LabelRow> rows = labelRows();
    if (rows.empty()) {
        messages().information(QStringLiteral("条码列表中没有可以打印的条码"));
        return;
    }
    QString notice, error;
    const auto tpl = LabelTemplate::forShop(&notice, &error);
    if (!tpl) {
        messages().error(error);
        return;
    }
    if (!notice.isEmpty()) messages().information(notice);

    const LabelPrinter labels(*tpl);
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("条码标签"));
    labels.setUpPage(printer);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("LabelPreview"));
    preview.setWindowTitle(QStringLiteral("条码标签预览（%1张）").arg(rows.size()));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter *p) { labels.print(*p, rows); });
    preview.resize(900, 640);
    showModal(preview);
}

void TFtiaoma_guanli::Button4Click() { printLabels(); }

void TFtiaoma_guanli::N1Click()
{
    const int r = ADOQuery2_->currentRow();
    if (r < 0) {
        messages().information(QStringLiteral("请先在条码列表中选择要打印的条码"));
        return;
    }
    const QString barcode = ADOQuery2_->value(r, QStringLiteral("商品条码")).toString();
    showBarcodes(QStringLiteral(" and a.商品条码=:商品条码"), {{QStringLiteral("商品条码"), barcode}});
    printLabels();
}
