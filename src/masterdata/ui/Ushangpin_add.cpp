#include "masterdata/ui/Ushangpin_add.h"

#include "app/Udm.h"
#include "masterdata/Lookups.h"
#include "masterdata/ui/Upinpai_list.h"
#include "masterdata/ui/Ushangpin_leibie.h"
#include "ui/Guard.h"
#include "ui/Messages.h"
#include "ui/WindowRegistry.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Fills a drop-down with one column of a statement's rows, keeping the text shown;
// returns the last row's value ("" when there is none).
QString fill(QComboBox *box, const QString &sql, const QString &column)
{
    const QString shown = box->currentText();
    box->clear();
    Query q(DM->ADOConnection1);
    q.exec(sql);
    QString last;
    while (q.next()) {
        last = q.text(column);
        box->addItem(last);
    }
    box->setCurrentText(shown);
    return last;
}

QComboBox *dropDown(QWidget *parent, const QString &name)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumWidth(170);
    return c;
}

QLineEdit *edit(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMinimumWidth(170);
    return e;
}

QToolButton *plus(QWidget *parent, const QString &name)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QStringLiteral("+"));
    return b;
}

} // namespace

TFshangpin_add::TFshangpin_add(QWidget *parent) : RecordEditor(parent)
{
    setObjectName(QStringLiteral("TFshangpin_add"));
    setWindowTitle(QStringLiteral("商品资料编辑"));

    DBEdit1 = edit(this, QStringLiteral("DBEdit1"));
    DBComboBox1 = dropDown(this, QStringLiteral("DBComboBox1"));
    DBComboBox2 = dropDown(this, QStringLiteral("DBComboBox2"));
    DBComboBox3 = dropDown(this, QStringLiteral("DBComboBox3"));
    DBEdit2 = edit(this, QStringLiteral("DBEdit2"));
    DBEdit3 = edit(this, QStringLiteral("DBEdit3"));
    DBEdit4 = edit(this, QStringLiteral("DBEdit4"));
    DBComboBox4 = dropDown(this, QStringLiteral("DBComboBox4"));
    DBComboBox5 = dropDown(this, QStringLiteral("DBComboBox5"));
    DBComboBox5->addItems({QStringLiteral("货号+颜色+尺码"), QStringLiteral("货号+尺码+颜色")});
    SpeedButton1 = plus(this, QStringLiteral("SpeedButton1"));
    SpeedButton2 = plus(this, QStringLiteral("SpeedButton2"));
    SpeedButton3 = plus(this, QStringLiteral("SpeedButton3"));
    SpeedButton4 = plus(this, QStringLiteral("SpeedButton4"));

    fields().bind(DBEdit1, QStringLiteral("商品名称"), QStringLiteral("商品名称"));
    fields().bind(DBComboBox1, QStringLiteral("商品类别"), QStringLiteral("商品类型"));
    fields().bind(DBComboBox2, QStringLiteral("尺码规则"), QStringLiteral("尺码规则"));
    fields().bind(DBComboBox3, QStringLiteral("颜色组"), QStringLiteral("颜色组"));
    fields().bind(DBEdit2, QStringLiteral("零售价格"), QStringLiteral("零售单价"));
    fields().bind(DBEdit3, QStringLiteral("预设进价"), QStringLiteral("预设进价"));
    fields().bind(DBEdit4, QStringLiteral("货号"), QStringLiteral("货号"));
    fields().bind(DBComboBox4, QStringLiteral("品牌"), QStringLiteral("品牌"));
    fields().bind(DBComboBox5, QStringLiteral("条码格式"), QStringLiteral("条码格式"));

    auto *outer = new QVBoxLayout(this);
    auto *g = new QGridLayout;
    g->setHorizontalSpacing(8);
    g->setColumnMinimumWidth(2, 16);
    auto place = [&](int row, int col, const QString &label, QWidget *field, QWidget *extra = nullptr) {
        auto *l = new QLabel(label, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        g->addWidget(l, row, col * 3);
        auto *h = new QHBoxLayout;
        h->addWidget(field, 1);
        if (extra) h->addWidget(extra);
        g->addLayout(h, row, col * 3 + 1);
    };
    place(0, 0, QStringLiteral("货    号"), DBEdit4);
    place(0, 1, QStringLiteral("商品名称"), DBEdit1);
    place(1, 0, QStringLiteral("商品类型"), DBComboBox1, SpeedButton1);
    place(1, 1, QStringLiteral("品    牌"), DBComboBox4, SpeedButton4);
    place(2, 0, QStringLiteral("尺码规则"), DBComboBox2, SpeedButton2);
    place(2, 1, QStringLiteral("颜色组"), DBComboBox3, SpeedButton3);
    place(3, 0, QStringLiteral("零售单价"), DBEdit2);
    place(3, 1, QStringLiteral("预设进价"), DBEdit3);
    place(4, 0, QStringLiteral("条码格式"), DBComboBox5);
    outer->addLayout(g);
    outer->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton *b : {Button1, Button2}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TFshangpin_add::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFshangpin_add::Button2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFshangpin_add::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFshangpin_add::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TFshangpin_add::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TFshangpin_add::SpeedButton4Click);
    resize(620, sizeHint().height() + 12);
}

void TFshangpin_add::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) FormShow();   // before the fields show the row
    RecordEditor::showEvent(event);
}

void TFshangpin_add::FormShow()
{
    guarded([&] {
        fill(DBComboBox1, QStringLiteral("select * from 商品类型"), QStringLiteral("商品类型"));
        fill(DBComboBox2, QStringLiteral("select * from 尺码规则"), QStringLiteral("尺码规则"));
        fill(DBComboBox3, QStringLiteral("select * from 颜色组"), QStringLiteral("颜色组"));
        fill(DBComboBox4, QStringLiteral("select * from 品牌"), QStringLiteral("品牌"));
    });
}

void TFshangpin_add::Button1Click()
{
    // Spaces count as an article number.
    if (DBEdit4->text().isEmpty()) {
        messages().information(QStringLiteral("请填写商品货号"));
        DBEdit4->setFocus();
        return;
    }
    // Sizes and colours of an article come from its groups; a group without colours
    // would leave it with nothing to stock or sell.
    bool hasColours = false;
    if (!guarded([&] { hasColours = !ColoursOfGroup(DM->ADOConnection1, DBComboBox3->currentText()).isEmpty(); })) return;
    if (!hasColours) {
        messages().information(QStringLiteral("保存失败，您选择的颜色组没有设置明细颜色！！"));
        return;
    }
    post();
}

void TFshangpin_add::Button2Click() { close(); }

void TFshangpin_add::SpeedButton1Click()
{
    auto *categories = windowAs<TFshangpin_leibie>(QStringLiteral("TFshangpin_leibie"));
    if (categories) categories->NewRowAdded = false;
    openWindow(QStringLiteral("TFshangpin_leibie"));
    guarded([&] {
        const QString newest = fill(DBComboBox1, QStringLiteral("select * from 商品类型 order by id"), QStringLiteral("商品类型"));
        if (categories && categories->NewRowAdded) DBComboBox1->setCurrentText(newest);
    });
}

void TFshangpin_add::SpeedButton2Click()
{
    openWindow(QStringLiteral("TFshangpin_chima"));
    guarded([&] {
        DBComboBox2->setCurrentText(
            fill(DBComboBox2, QStringLiteral("select * from 尺码规则 order by 尺码规则"), QStringLiteral("尺码规则")));
    });
}

void TFshangpin_add::SpeedButton3Click()
{
    openWindow(QStringLiteral("TFyanse_list"));
    guarded([&] {
        DBComboBox3->setCurrentText(
            fill(DBComboBox3, QStringLiteral("select * from 颜色组 order by id"), QStringLiteral("颜色组")));
    });
}

void TFshangpin_add::SpeedButton4Click()
{
    auto *brands = windowAs<TFpinpai_list>(QStringLiteral("TFpinpai_list"));
    if (brands) brands->NewRowAdded = false;
    openWindow(QStringLiteral("TFpinpai_list"));
    guarded([&] {
        const QString newest = fill(DBComboBox4, QStringLiteral("select * from 品牌 order by id"), QStringLiteral("品牌"));
        if (brands && brands->NewRowAdded) DBComboBox4->setCurrentText(newest);
    });
}
