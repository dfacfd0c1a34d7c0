#include "masterdata/ui/Utiaoma_bianji.h"
#include "masterdata/ui/Utiaoma_guanli.h"
#include "support/Harness.h"
#include "support/TestShop.h"
#include "test_barcode_fixture.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace barcodefixture;

namespace {

struct Shop {
    TestShop shop;
    qint64 tee, hoodie, jacket;
    Shop()
    {
        Database &db = shop.db();
        addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M")});
        addColours(db, QStringLiteral("基本色"), {QStringLiteral("黑"), QStringLiteral("白")});
        tee = addArticle(db, QStringLiteral("圆领T恤"), QStringLiteral("A01"), QStringLiteral("上衣"), QStringLiteral("基本色"), QString(), QStringLiteral("59"));
        hoodie = addArticle(db, QStringLiteral("连帽卫衣"), QStringLiteral("B02"), QStringLiteral("上衣"), QStringLiteral("基本色"),
                            QStringLiteral("货号+尺码+颜色"), QStringLiteral("129.5"));
        jacket = addArticle(db, QStringLiteral("牛仔外套"), QStringLiteral("C03"), QStringLiteral("上衣"), QStringLiteral("基本色"), QString());
        setCodes(db, tee, {{QStringLiteral("S"), QStringLiteral("3")}, {QStringLiteral("M"), QStringLiteral("4")}},
                 {{QStringLiteral("黑"), QStringLiteral("1")}, {QStringLiteral("白"), QString()}});
        setCodes(db, hoodie, {{QStringLiteral("M"), QStringLiteral("4")}}, {{QStringLiteral("白"), QStringLiteral("2")}});
        addBarcode(db, hoodie, QStringLiteral("B02"), QStringLiteral("白"), QStringLiteral("M"), QStringLiteral("B0242"));
        addBarcode(db, jacket, QStringLiteral("C03"), QStringLiteral("黑"), QStringLiteral("S"), QStringLiteral("C0311"));
    }
};

QStringList column(RecordList &list, const QString &name)
{
    list.fetchAll();
    QStringList r;
    for (int i = 0; i < list.rowCount(); ++i) r << list.value(i, name).toString();
    return r;
}

int rowOf(RecordList &list, const QString &columnName, const QVariant &value)
{
    list.fetchAll();
    for (int i = 0; i < list.rowCount(); ++i)
        if (list.value(i, columnName).toString() == value.toString()) return i;
    return -1;
}

} // namespace

TEST(BarcodeWindow, GeneratesForTheListedArticlesOnlyAndShowsAllBarcodes)
{
    Shop s;
    Harness h;
    auto *w = windowAs<TFtiaoma_guanli>(QStringLiteral("TFtiaoma_guanli"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("条码管理"));
    EXPECT_EQ(w->ADOQuery1().rowCount(), 0);
    EXPECT_EQ(w->ADOQuery2().rowCount(), 0);

    // Nothing listed yet: said so, nothing changed.
    ASSERT_TRUE(click(w, QStringLiteral("Button2")));
    EXPECT_EQ(h.msgs.infos, QStringList{QStringLiteral("请先查询要生成条码的商品")});
    EXPECT_EQ(barcodeRows(s.shop.db()).size(), 2);

    // A search by name lists one article; generating rebuilds its barcodes only.
    child<QLineEdit>(w, QStringLiteral("Edit1"))->setText(QStringLiteral("T恤"));
    ASSERT_TRUE(click(w, QStringLiteral("Button1")));
    EXPECT_EQ(column(w->ADOQuery1(), QStringLiteral("货号")), QStringList{QStringLiteral("A01")});
    h.msgs.clear();
    ASSERT_TRUE(click(w, QStringLiteral("Button2")));
    EXPECT_EQ(h.msgs.all, QStringList{QStringLiteral("info:全部生成完毕")});
    EXPECT_EQ(column(w->ADOQuery2(), QStringLiteral("商品条码")),
              (QStringList{QStringLiteral("A0113"), QStringLiteral("A0114"), QStringLiteral("B0242"), QStringLiteral("C0311")}));
    EXPECT_EQ(column(w->ADOQuery2(), QStringLiteral("商品名称")).value(2), QStringLiteral("连帽卫衣"));

    // Clicking an article shows its barcodes; 返回全部 shows them all again.
    ASSERT_TRUE(click(w, QStringLiteral("Button1")));   // the name is still "T恤"
    child<QLineEdit>(w, QStringLiteral("Edit1"))->clear();
    ASSERT_TRUE(click(w, QStringLiteral("Button1")));
    ASSERT_EQ(w->ADOQuery1().rowCount(), 3);
    auto *grid = child<QTableView>(w, QStringLiteral("DBGridEh1"));
    emit grid->clicked(w->ADOQuery1().index(rowOf(w->ADOQuery1(), QStringLiteral("id"), s.jacket), 1));
    EXPECT_EQ(column(w->ADOQuery2(), QStringLiteral("商品条码")), QStringList{QStringLiteral("C0311")});
    ASSERT_TRUE(click(w, QStringLiteral("Button5")));
    EXPECT_EQ(w->ADOQuery2().rowCount(), 4);

    // Every article listed: the jacket has no codes any more and loses its stale barcode.
    ASSERT_TRUE(click(w, QStringLiteral("Button2")));
    EXPECT_EQ(column(w->ADOQuery2(), QStringLiteral("商品条码")),
              (QStringList{QStringLiteral("A0113"), QStringLiteral("A0114"), QStringLiteral("B0242")}));

    // A store error part-way is shown and the barcodes stay as they were.
    const QStringList before = barcodeRows(s.shop.db());
    s.shop.db().execute(QStringLiteral("create trigger qv_refuse before insert on 商品条码表 when new.商品货号='B02' "
                                       "begin select raise(abort, '条码写入失败'); end"));
    h.msgs.clear();
    ASSERT_TRUE(click(w, QStringLiteral("Button2")));
    ASSERT_EQ(h.msgs.errors.size(), 1);
    EXPECT_TRUE(h.msgs.errors[0].contains(QStringLiteral("条码写入失败"))) << h.msgs.errors[0].toStdString();
    EXPECT_TRUE(h.msgs.infos.isEmpty());
    EXPECT_EQ(barcodeRows(s.shop.db()), before);
}

TEST(BarcodeWindow, CodeEditorShowsOnlyThisArticlesCodesAndStoresThem)
{
    Shop s;
    Harness h;
    auto *w = windowAs<TFtiaoma_guanli>(QStringLiteral("TFtiaoma_guanli"));
    ASSERT_TRUE(click(w, QStringLiteral("Button1")));
    auto *grid = child<QTableView>(w, QStringLiteral("DBGridEh1"));
    const auto codesRow = [](QDialog &d, const QString &gridName) {
        auto *g = child<QTableWidget>(&d, gridName);
        QStringList r;
        for (int c = 0; c < g->columnCount(); ++c)
            r << (g->item(0, c) ? g->item(0, c)->text() : QString()) + u'=' + (g->item(1, c) ? g->item(1, c)->text() : QString());
        return r;
    };

    // The T-shirt's codes; then the jacket, which has none: empty cells, nothing of the T-shirt.
    h.modal.on(QStringLiteral("TFtiaoma_bianji"), [&](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("条码编辑"));
        EXPECT_EQ(codesRow(d, QStringLiteral("StringGrid3")), (QStringList{QStringLiteral("黑=1"), QStringLiteral("白=")}));
        EXPECT_EQ(codesRow(d, QStringLiteral("StringGrid1")), (QStringList{QStringLiteral("S=3"), QStringLiteral("M=4")}));
        EXPECT_EQ(child<QLabel>(&d, QStringLiteral("Label6"))->text(), QStringLiteral("A01"));
    });
    emit grid->doubleClicked(w->ADOQuery1().index(rowOf(w->ADOQuery1(), QStringLiteral("id"), s.tee), 1));

    h.modal.on(QStringLiteral("TFtiaoma_bianji"), [&](QDialog &d) {
        EXPECT_EQ(codesRow(d, QStringLiteral("StringGrid3")), (QStringList{QStringLiteral("黑="), QStringLiteral("白=")}));
        EXPECT_EQ(codesRow(d, QStringLiteral("StringGrid1")), (QStringList{QStringLiteral("S="), QStringLiteral("M=")}));
        auto &e = static_cast<TFtiaoma_bianji &>(d);
        // Selecting a code cell opens the edit over it; leaving it writes the cell.
        e.StringGrid3SelectCell(1, 1);
        auto *edit1 = child<QLineEdit>(&d, QStringLiteral("Edit1"));
        ASSERT_TRUE(edit1->isVisible());
        edit1->setText(QStringLiteral("22"));
        e.StringGrid3SelectCell(0, 1);   // moving on leaves the first edit
        EXPECT_EQ(child<QTableWidget>(&d, QStringLiteral("StringGrid3"))->item(1, 1)->text(), QStringLiteral("22"));
        edit1->setText(QStringLiteral("11"));
        e.StringGrid1SelectCell(1, 1);
        child<QLineEdit>(&d, QStringLiteral("Edit2"))->setText(QStringLiteral("M9"));
        // 确定 with both edits still open: what was typed counts.
        ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        EXPECT_FALSE(d.isVisible());
    });
    ASSERT_TRUE(w->ADOQuery1().rowCount() == 3);
    w->ADOQuery1().setCurrentRow(rowOf(w->ADOQuery1(), QStringLiteral("id"), s.jacket));
    ASSERT_TRUE(click(w, QStringLiteral("Button3")));
    EXPECT_EQ(h.modal.opened.size(), 2);

    Query q(s.shop.db());
    q.prepare(QStringLiteral("select 颜色,条码 from 颜色条码设置 where 商品编号=:a order by id"));
    q.bind(QStringLiteral("a"), s.jacket).exec();
    QStringList colours;
    while (q.next()) colours << q.text(QStringLiteral("颜色")) + u'=' + q.text(QStringLiteral("条码"));
    EXPECT_EQ(colours, (QStringList{QStringLiteral("黑=11"), QStringLiteral("白=22")}));
    q.prepare(QStringLiteral("select 尺码,条码 from 尺码条码设置 where 商品编号=:a order by id"));
    q.bind(QStringLiteral("a"), s.jacket).exec();
    QStringList sizes;
    while (q.next()) sizes << q.text(QStringLiteral("尺码")) + u'=' + q.text(QStringLiteral("条码"));
    EXPECT_EQ(sizes, (QStringList{QStringLiteral("S="), QStringLiteral("M=M9")}));

    // 取消 stores nothing: the T-shirt keeps its codes.
    h.modal.on(QStringLiteral("TFtiaoma_bianji"), [&](QDialog &d) {
        static_cast<TFtiaoma_bianji &>(d).StringGrid3SelectCell(0, 1);
        child<QLineEdit>(&d, QStringLiteral("Edit1"))->setText(QStringLiteral("99"));
        ASSERT_TRUE(click(&d, QStringLiteral("Button2")));
    });
    w->ADOQuery1().setCurrentRow(rowOf(w->ADOQuery1(), QStringLiteral("id"), s.tee));
    ASSERT_TRUE(click(w, QStringLiteral("Button3")));
    q.prepare(QStringLiteral("select 条码 from 颜色条码设置 where 商品编号=:a and 颜色='黑'"));
    q.bind(QStringLiteral("a"), s.tee).exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("条码")), QStringLiteral("1"));
}

TEST(BarcodeWindow, PrintsOneLabelPerListedBarcodeThroughThePreview)
{
    Shop s;
    Harness h;
    auto *w = windowAs<TFtiaoma_guanli>(QStringLiteral("TFtiaoma_guanli"));

    // An empty barcode list prints nothing.
    ASSERT_TRUE(click(w, QStringLiteral("Button4")));
    EXPECT_EQ(h.msgs.infos, QStringList{QStringLiteral("条码列表中没有可以打印的条码")});
    EXPECT_TRUE(h.modal.opened.isEmpty());

    int pages = -1;
    const auto countPages = [&](QDialog &d) {
        auto *preview = d.findChild<QPrintPreviewWidget *>();
        ASSERT_NE(preview, nullptr);
        preview->updatePreview();
        pages = preview->pageCount();
    };
    // Without a template of the shop's own, the default one is used and that is said.
    h.msgs.clear();
    ASSERT_TRUE(click(w, QStringLiteral("Button5")));
    h.modal.on(QStringLiteral("LabelPreview"), countPages);
    ASSERT_TRUE(click(w, QStringLiteral("Button4")));
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(h.msgs.infos, QStringList{QStringLiteral("店铺文件夹中没有条码标签模板“条码标签.json”，使用程序自带的默认标签。")});

    // 打印单一条码: the chosen barcode's rows only.
    w->ADOQuery2().setCurrentRow(rowOf(w->ADOQuery2(), QStringLiteral("商品条码"), QStringLiteral("C0311")));
    h.modal.on(QStringLiteral("LabelPreview"), countPages);
    ASSERT_TRUE(click(w, QStringLiteral("N1")));
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(column(w->ADOQuery2(), QStringLiteral("商品条码")), QStringList{QStringLiteral("C0311")});

    // A broken template of the shop's own is reported, and nothing is printed.
    QFile f(s.shop.file(QStringLiteral("条码标签.json")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{ \"width\": 40, \"height\": 30, \"objects\": [ { \"type\": \"barcode\", \"x\": 1, \"y\": 1, \"w\": 30, \"h\": 10, \"symbology\": \"ean99\" } ] }");
    f.close();
    h.msgs.clear();
    h.modal.opened.clear();
    ASSERT_TRUE(click(w, QStringLiteral("Button4")));
    ASSERT_EQ(h.msgs.errors.size(), 1);
    EXPECT_TRUE(h.msgs.errors[0].contains(QStringLiteral("第1个对象的条码类型“ean99”不认识"))) << h.msgs.errors[0].toStdString();
    EXPECT_TRUE(h.modal.opened.isEmpty());
}
