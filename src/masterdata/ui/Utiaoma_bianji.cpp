#include "masterdata/ui/Utiaoma_bianji.h"

#include "app/Udm.h"
#include "masterdata/BarcodeCodes.h"
#include "masterdata/Lookups.h"
#include "ui/Guard.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget *makeGrid(QWidget *parent, const QString &name, const QString &namesTitle)
{
    auto *g = new QTableWidget(2, 0, parent);
    g->setObjectName(name);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setVerticalHeaderLabels({namesTitle, QStringLiteral("条码")});
    g->horizontalHeader()->hide();
    g->horizontalHeader()->setDefaultSectionSize(64);
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 12);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setFixedHeight(2 * (g->fontMetrics().height() + 12) + 2 * g->frameWidth() + g->horizontalScrollBar()->sizeHint().height());
    return g;
}

QString cellText(const QTableWidget *g, int row, int column)
{
    const QTableWidgetItem *i = g->item(row, column);
    return i ? i->text() : QString();
}

void setCell(QTableWidget *g, int row, int column, const QString &text)
{
    auto *i = g->item(row, column);
    if (!i) {
        i = new QTableWidgetItem;
        if (row == 0) i->setBackground(g->palette().window());
        g->setItem(row, column, i);
    }
    i->setText(text);
}

} // namespace

TFtiaoma_bianji::TFtiaoma_bianji(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFtiaoma_bianji"));
    setWindowTitle(QStringLiteral("条码编辑"));

    auto *outer = new QVBoxLayout(this);
    auto *info = new QGroupBox(QStringLiteral("商品信息"), this);
    auto *form = new QFormLayout(info);
    Label4 = new QLabel(info);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label5 = new QLabel(info);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label6 = new QLabel(info);
    Label6->setObjectName(QStringLiteral("Label6"));
    form->addRow(QStringLiteral("商品编码"), Label4);
    form->addRow(QStringLiteral("商品名称"), Label5);
    form->addRow(QStringLiteral("商品货号"), Label6);
    outer->addWidget(info);

    auto *codes = new QGroupBox(QStringLiteral("本款商品的颜色对应的条码"), this);
    auto *cl = new QVBoxLayout(codes);
    StringGrid3 = makeGrid(codes, QStringLiteral("StringGrid3"), QStringLiteral("颜色"));
    StringGrid1 = makeGrid(codes, QStringLiteral("StringGrid1"), QStringLiteral("尺码"));
    cl->addWidget(StringGrid3);
    cl->addSpacing(6);
    cl->addWidget(StringGrid1);
    outer->addWidget(codes);

    Edit1 = new QLineEdit(StringGrid3->viewport());
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->hide();
    Edit1->installEventFilter(this);
    Edit2 = new QLineEdit(StringGrid1->viewport());
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->hide();
    Edit2->installEventFilter(this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    outer->addLayout(buttons);

    connect(StringGrid3, &QTableWidget::cellClicked, this, [this](int row, int column) { StringGrid3SelectCell(column, row); });
    connect(StringGrid3, &QTableWidget::currentCellChanged, this, [this](int row, int column) { StringGrid3SelectCell(column, row); });
    connect(StringGrid1, &QTableWidget::cellClicked, this, [this](int row, int column) { StringGrid1SelectCell(column, row); });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int column) { StringGrid1SelectCell(column, row); });
    connect(Button1, &QPushButton::clicked, this, &TFtiaoma_bianji::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFtiaoma_bianji::Button2Click);
    resize(640, 360);
}

void TFtiaoma_bianji::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFtiaoma_bianji::fillGrid(QTableWidget *grid, const QStringList &names, const QStringList &codes)
{
    grid->setColumnCount(names.size());
    for (int c = 0; c < names.size(); ++c) {
        setCell(grid, 0, c, names[c]);
        setCell(grid, 1, c, codes.value(c));
    }
}

void TFtiaoma_bianji::FormShow()
{
    Edit1->hide();
    Edit2->hide();
    editColumn1_ = editColumn2_ = -1;
    // Nothing of the article shown before may remain.
    for (QTableWidget *g : {StringGrid3, StringGrid1}) {
        g->clearContents();
        g->setColumnCount(0);
    }
    Label4->setText(QString::number(articleId));
    Label5->setText(articleName);
    Label6->setText(articleNo);
    guarded([&] {
        // A code whose colour or size is no longer in the group or rule is not shown.
        Database &db = DM->ADOConnection1;
        BarcodeCodes codes(db);
        const QStringList colours = ColoursOfGroup(db, colourGroup);
        fillGrid(StringGrid3, colours, codes.colourCodes(articleId, colours));
        const QStringList sizes = SizesOfRule(db, sizeRule);
        fillGrid(StringGrid1, sizes, codes.sizeCodes(articleId, sizes));
    });
}

void TFtiaoma_bianji::openCellEdit(QTableWidget *grid, QLineEdit *edit, int column, int row)
{
    if (row != 1 || column < 0 || column >= grid->columnCount()) return;
    int &editing = edit == Edit1 ? editColumn1_ : editColumn2_;
    if (edit->isVisible() && editing == column) return;
    if (edit->isVisible()) closeCellEdit(grid, edit);
    editing = column;
    grid->scrollToItem(grid->item(row, column));
    edit->setGeometry(grid->visualItemRect(grid->item(row, column)));
    edit->setText(cellText(grid, row, column));
    edit->show();
    edit->setFocus();
    edit->selectAll();
}

void TFtiaoma_bianji::closeCellEdit(QTableWidget *grid, QLineEdit *edit)
{
    int &editing = edit == Edit1 ? editColumn1_ : editColumn2_;
    if (!edit->isVisible()) return;
    if (editing >= 0 && editing < grid->columnCount()) setCell(grid, 1, editing, edit->text());
    editing = -1;
    edit->hide();
}

void TFtiaoma_bianji::StringGrid3SelectCell(int column, int row) { openCellEdit(StringGrid3, Edit1, column, row); }
void TFtiaoma_bianji::StringGrid1SelectCell(int column, int row) { openCellEdit(StringGrid1, Edit2, column, row); }
void TFtiaoma_bianji::Edit1Exit() { closeCellEdit(StringGrid3, Edit1); }
void TFtiaoma_bianji::Edit2Exit() { closeCellEdit(StringGrid1, Edit2); }

bool TFtiaoma_bianji::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit1 || watched == Edit2) {
        const bool leave = event->type() == QEvent::FocusOut
            || (event->type() == QEvent::KeyPress
                && (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Enter));
        if (leave) {
            if (watched == Edit1) Edit1Exit(); else Edit2Exit();
            return event->type() == QEvent::KeyPress;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFtiaoma_bianji::Button1Click()
{
    // A code still being typed counts.
    Edit1Exit();
    Edit2Exit();
    // The grids as they stand: a name and its code per column.
    auto codesOf = [](const QTableWidget *g) {
        BarcodeCodes::Codes out;
        for (int c = 0; c < g->columnCount(); ++c) out.emplace_back(cellText(g, 0, c), cellText(g, 1, c));
        return out;
    };
    const bool stored = guarded([&] { BarcodeCodes(DM->ADOConnection1).save(articleId, codesOf(StringGrid3), codesOf(StringGrid1)); });
    if (stored) accept();
}

void TFtiaoma_bianji::Button2Click() { reject(); }
