#include "masterdata/ui/Ushangpin_add.h"
#include "masterdata/ui/Ushangpin_list.h"
#include "support/Harness.h"
#include "support/TestShop.h"
#include "test_goods_support.h"
#include "ui/WindowRegistry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QHeaderView>
#include <gtest/gtest.h>

using namespace goodstest;

namespace {

const QString kList = QStringLiteral("TFshangpin_list");
const QString kEditor = QStringLiteral("TFshangpin_add");

void type(QDialog &d, const QString &name, const QString &text)
{
    if (auto *e = child<QLineEdit>(&d, name)) e->setText(text);
    else if (auto *c = child<QComboBox>(&d, name)) c->setCurrentText(text);
    else ADD_FAILURE() << "no control " << name.toStdString();
}

QString shown(QDialog &d, const QString &name)
{
    if (auto *e = child<QLineEdit>(&d, name)) return e->text();
    if (auto *c = child<QComboBox>(&d, name)) return c->currentText();
    return QStringLiteral("<missing>");
}

// A shop with one colour group that has colours and one that has none.
void seed(Database &db)
{
    run(db, QStringLiteral("insert into 颜色组 (颜色组) values ('基本色')"));
    run(db, QStringLiteral("insert into 颜色组 (颜色组) values ('空组')"));
    run(db, QStringLiteral("insert into 颜色列表 (颜色组,颜色) values ('基本色','黑')"));
    run(db, QStringLiteral("insert into 尺码规则 (尺码规则) values ('上衣')"));
    run(db, QStringLiteral("insert into 商品类型 (商品类型) values ('衬衫')"));
    run(db, QStringLiteral("insert into 品牌 (品牌) values ('海风')"));
}

// An article ready to be stored.
void fillArticle(QDialog &d, const QString &number)
{
    type(d, QStringLiteral("DBEdit1"), QStringLiteral("牛津纺衬衫"));
    type(d, QStringLiteral("DBComboBox1"), QStringLiteral("衬衫"));
    type(d, QStringLiteral("DBComboBox2"), QStringLiteral("上衣"));
    type(d, QStringLiteral("DBComboBox3"), QStringLiteral("基本色"));
    type(d, QStringLiteral("DBEdit2"), QStringLiteral("199"));
    type(d, QStringLiteral("DBEdit3"), QStringLiteral("88.5"));
    type(d, QStringLiteral("DBEdit4"), number);
    type(d, QStringLiteral("DBComboBox4"), QStringLiteral("海风"));
    type(d, QStringLiteral("DBComboBox5"), QStringLiteral("货号+尺码+颜色"));
}

// Opens the goods list and presses one of its buttons; the handlers of the windows
// that opens are queued before.
void pressInList(Harness &h, const char *button)
{
    h.modal.on(kList, [button](QDialog &d) { click(&d, QString::fromLatin1(button)); });
    openWindow(kList);
}

void addArticle(Harness &h, const QString &number)
{
    h.modal.on(kEditor, [number](QDialog &d) {
        fillArticle(d, number);
        click(&d, QStringLiteral("Button1"));
        EXPECT_FALSE(d.isVisible());
    });
    pressInList(h, "Button1");
}

} // namespace

TEST(GoodsWindows, NewArticleIsStoredWithEveryFieldAndZeroQuantity)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    seed(db);
    // Spaces are an article number; two articles may share one.
    addArticle(h, QStringLiteral("  "));
    addArticle(h, QStringLiteral("  "));
    ASSERT_TRUE(h.msgs.all.isEmpty()) << h.msgs.all.join(u'\n').toStdString();

    Query q(db);
    q.exec(QStringLiteral("select * from 商品列表 order by id"));
    int n = 0;
    while (q.next()) {
        ++n;
        EXPECT_EQ(q.text(QStringLiteral("货号")), QStringLiteral("  "));
        EXPECT_EQ(q.text(QStringLiteral("商品名称")), QStringLiteral("牛津纺衬衫"));
        EXPECT_EQ(q.text(QStringLiteral("商品类别")), QStringLiteral("衬衫"));
        EXPECT_EQ(q.text(QStringLiteral("尺码规则")), QStringLiteral("上衣"));
        EXPECT_EQ(q.text(QStringLiteral("颜色组")), QStringLiteral("基本色"));
        EXPECT_EQ(q.text(QStringLiteral("品牌")), QStringLiteral("海风"));
        EXPECT_EQ(q.text(QStringLiteral("条码格式")), QStringLiteral("货号+尺码+颜色"));
        EXPECT_EQ(q.money(QStringLiteral("零售价格")).toString(), QStringLiteral("199"));
        EXPECT_EQ(q.money(QStringLiteral("预设进价")).toString(), QStringLiteral("88.5"));
        ASSERT_FALSE(q.value(QStringLiteral("数量")).isNull());
        EXPECT_EQ(q.integer(QStringLiteral("数量")), 0);
    }
    EXPECT_EQ(n, 2);
}

TEST(GoodsWindows, ListShowsTheColumnsInOrderAndTheEditorItsCaptionAndLists)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    seed(db);
    run(db, QStringLiteral("insert into 商品类型 (商品类型) values ('外套')"));
    run(db, QStringLiteral("insert into 商品列表 (商品名称,货号,颜色组,数量) values ('风衣','F1','基本色',0)"));

    h.modal.on(kEditor, [](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("商品资料编辑"));
        auto *c = child<QComboBox>(&d, QStringLiteral("DBComboBox1"));
        ASSERT_EQ(c->count(), 2);
        EXPECT_EQ(c->itemText(1), QStringLiteral("外套"));
        EXPECT_EQ(c->currentText(), QString());     // the row's value, not the first item
        EXPECT_EQ(shown(d, QStringLiteral("DBEdit1")), QStringLiteral("风衣"));
        EXPECT_EQ(shown(d, QStringLiteral("DBComboBox3")), QStringLiteral("基本色"));
        for (const char *b : {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4"})
            EXPECT_EQ(child<QAbstractButton>(&d, QString::fromLatin1(b))->text(), QStringLiteral("+"));
    });
    h.modal.on(kList, [](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("商品清单"));
        auto *grid = child<QTableView>(&d, QStringLiteral("DBGridEh1"));
        QStringList titles;
        for (int v = 0; v < grid->model()->columnCount(); ++v) {
            const int logical = grid->horizontalHeader()->logicalIndex(v);
            if (!grid->isColumnHidden(logical)) titles << grid->model()->headerData(logical, Qt::Horizontal).toString();
        }
        EXPECT_EQ(titles, (QStringList{QStringLiteral("自动编码"), QStringLiteral("商品名称"), QStringLiteral("商品类别"),
                                       QStringLiteral("品牌"), QStringLiteral("货号"), QStringLiteral("预设进价"),
                                       QStringLiteral("零售价格"), QStringLiteral("尺码规则"), QStringLiteral("颜色组"),
                                       QStringLiteral("条码格式"), QStringLiteral("备注")}));
        EXPECT_EQ(child<QAbstractButton>(&d, QStringLiteral("Button5"))->text(), QStringLiteral("条码管理"));
        click(&d, QStringLiteral("Button4"));
    });
    openWindow(kList);
    EXPECT_EQ(h.modal.opened, (QStringList{kList, kEditor}));
}

TEST(GoodsWindows, EditorRefusesMissingNumberAndColourGroupWithoutColours)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    seed(db);
    struct Case {
        QString number, group, message;
    } cases[] = {
        {QString(), QStringLiteral("基本色"), QStringLiteral("请填写商品货号")},
        {QStringLiteral("A1"), QStringLiteral("空组"), QStringLiteral("保存失败，您选择的颜色组没有设置明细颜色！！")},
        {QStringLiteral("A1"), QString(), QStringLiteral("保存失败，您选择的颜色组没有设置明细颜色！！")},
        {QStringLiteral("A1"), QStringLiteral("无此组"), QStringLiteral("保存失败，您选择的颜色组没有设置明细颜色！！")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.toStdString() + " / " + c.group.toStdString());
        h.msgs.clear();
        h.modal.on(kEditor, [&](QDialog &d) {
            fillArticle(d, c.number);
            type(d, QStringLiteral("DBComboBox3"), c.group);
            click(&d, QStringLiteral("Button1"));
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(shown(d, QStringLiteral("DBEdit1")), QStringLiteral("牛津纺衬衫"));
            if (c.number.isEmpty()) EXPECT_EQ(d.focusWidget(), child<QWidget>(&d, QStringLiteral("DBEdit4")));
        });
        pressInList(h, "Button1");
        EXPECT_EQ(h.msgs.all, QStringList{QStringLiteral("info:") + c.message});
        EXPECT_EQ(count(db, QStringLiteral("商品列表")), 0);
    }
}

TEST(GoodsWindows, PriceThatIsNotANumberIsRefusedAndTheEditorKeepsIt)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    seed(db);
    struct Case {
        QString control, text, message;
    } cases[] = {
        {QStringLiteral("DBEdit2"), QStringLiteral("一百"), QStringLiteral("零售单价必须是数字！")},
        {QStringLiteral("DBEdit3"), QStringLiteral("12元"), QStringLiteral("预设进价必须是数字！")},
    };
    for (const Case &c : cases) {
        h.msgs.clear();
        h.modal.on(kEditor, [&](QDialog &d) {
            fillArticle(d, QStringLiteral("A1"));
            type(d, c.control, c.text);
            click(&d, QStringLiteral("Button1"));
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(shown(d, c.control), c.text);
        });
        pressInList(h, "Button1");
        EXPECT_EQ(h.msgs.errors, QStringList{c.message});
        EXPECT_EQ(count(db, QStringLiteral("商品列表")), 0);
    }

    // Editing an existing article is checked the same way; the stored price stays.
    addArticle(h, QStringLiteral("A1"));
    h.msgs.clear();
    h.modal.on(kEditor, [](QDialog &d) {
        type(d, QStringLiteral("DBEdit2"), QStringLiteral("abc"));
        click(&d, QStringLiteral("Button1"));
        EXPECT_TRUE(d.isVisible());
    });
    pressInList(h, "Button4");
    EXPECT_EQ(h.msgs.errors, QStringList{QStringLiteral("零售单价必须是数字！")});
    EXPECT_EQ(column(db, QStringLiteral("select 零售价格 from 商品列表"), QStringLiteral("零售价格")), QStringList{QStringLiteral("199")});
}

TEST(GoodsWindows, EditStoresCancelDiscardsAndAnArticleWhoseGroupLostItsColoursCannotBeSaved)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    seed(db);
    addArticle(h, QStringLiteral("A1"));

    auto editName = [&](const QString &name, const char *button) {
        h.modal.on(kEditor, [name, button](QDialog &d) {
            type(d, QStringLiteral("DBEdit1"), name);
            click(&d, QString::fromLatin1(button));
        });
        pressInList(h, "Button4");
    };
    editName(QStringLiteral("已取消"), "Button2");
    EXPECT_EQ(column(db, QStringLiteral("select * from 商品列表"), QStringLiteral("商品名称")), QStringList{QStringLiteral("牛津纺衬衫")});
    editName(QStringLiteral("府绸衬衫"), "Button1");
    EXPECT_EQ(column(db, QStringLiteral("select * from 商品列表"), QStringLiteral("商品名称")), QStringList{QStringLiteral("府绸衬衫")});

    run(db, QStringLiteral("delete from 颜色列表"));
    editName(QStringLiteral("改不了"), "Button1");
    EXPECT_EQ(h.msgs.infos, QStringList{QStringLiteral("保存失败，您选择的颜色组没有设置明细颜色！！")});
    EXPECT_EQ(column(db, QStringLiteral("select * from 商品列表"), QStringLiteral("商品名称")), QStringList{QStringLiteral("府绸衬衫")});
}

TEST(GoodsWindows, DeleteAsksAndLeavesBarcodesAndStockAlone)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    seed(db);
    addArticle(h, QStringLiteral("A1"));
    run(db, QStringLiteral("insert into 库存尺码表 (商品编码,库房名称,商品尺码,颜色,数量) values (1,'总仓','M','黑',3)"));

    h.msgs.answers = {false, true, true};
    h.modal.on(kList, [&](QDialog &d) {
        click(&d, QStringLiteral("Button2"));
        EXPECT_EQ(count(db, QStringLiteral("商品列表")), 1);
        click(&d, QStringLiteral("Button2"));
        EXPECT_EQ(count(db, QStringLiteral("商品列表")), 0);
        click(&d, QStringLiteral("Button2"));
    });
    openWindow(kList);
    EXPECT_EQ(h.msgs.questions, QStringList(3, QStringLiteral("确实要删除吗？")));
    EXPECT_EQ(h.msgs.errors, QStringList{QStringLiteral("没有可以删除的记录")});
    EXPECT_EQ(count(db, QStringLiteral("库存尺码表")), 1);
}

TEST(GoodsWindows, QuickAddButtonsTakeTheNewestNameOnlyWhenTheRuleSaysSo)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    seed(db);
    // Rules that sort after the seeded one whichever was added first; a newer group.
    run(db, QStringLiteral("insert into 尺码规则 (尺码规则) values ('裤装')"));
    run(db, QStringLiteral("insert into 尺码规则 (尺码规则) values ('S鞋')"));
    run(db, QStringLiteral("insert into 颜色组 (颜色组) values ('新色')"));
    run(db, QStringLiteral("insert into 颜色列表 (颜色组,颜色) values ('新色','红')"));
    const QString lastRule = column(db, QStringLiteral("select * from 尺码规则 order by 尺码规则"), QStringLiteral("尺码规则")).last();

    auto addThrough = [&](const QString &editor, const QString &name) {
        return [&h, editor, name](QDialog &list) {
            h.modal.on(editor, [name](QDialog &e) {
                type(e, QStringLiteral("DBEdit1"), name);
                click(&e, QStringLiteral("Button1"));
            });
            click(&list, QStringLiteral("Button1"));
        };
    };
    auto justClose = [](QDialog &) {};

    struct Case {
        QString button, window, dropDown;
        std::function<void(QDialog &)> inWindow;
        QString expected;
    } cases[] = {
        {QStringLiteral("SpeedButton1"), QStringLiteral("TFshangpin_leibie"), QStringLiteral("DBComboBox1"),
         addThrough(QStringLiteral("TFshangpin_leibie_add"), QStringLiteral("夹克")), QStringLiteral("夹克")},
        {QStringLiteral("SpeedButton1"), QStringLiteral("TFshangpin_leibie"), QStringLiteral("DBComboBox1"), justClose,
         QStringLiteral("衬衫")},
        {QStringLiteral("SpeedButton4"), QStringLiteral("TFpinpai_list"), QStringLiteral("DBComboBox4"),
         addThrough(QStringLiteral("TFpinpai_add"), QStringLiteral("山川")), QStringLiteral("山川")},
        {QStringLiteral("SpeedButton4"), QStringLiteral("TFpinpai_list"), QStringLiteral("DBComboBox4"), justClose,
         QStringLiteral("海风")},
        {QStringLiteral("SpeedButton2"), QStringLiteral("TFshangpin_chima"), QStringLiteral("DBComboBox2"), justClose, lastRule},
        {QStringLiteral("SpeedButton3"), QStringLiteral("TFyanse_list"), QStringLiteral("DBComboBox3"), justClose,
         QStringLiteral("新色")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE((c.button + u' ' + c.expected).toStdString());
        run(db, QStringLiteral("delete from 商品列表"));
        h.modal.on(c.window, c.inWindow);
        h.modal.on(kEditor, [&](QDialog &d) {
            fillArticle(d, QStringLiteral("Q1"));
            click(&d, c.button);
            EXPECT_EQ(shown(d, c.dropDown), c.expected);
            click(&d, QStringLiteral("Button1"));
        });
        pressInList(h, "Button1");
        EXPECT_TRUE(h.msgs.all.isEmpty()) << h.msgs.all.join(u'\n').toStdString();
        const QString stored = c.dropDown == QStringLiteral("DBComboBox1")   ? QStringLiteral("商品类别")
                               : c.dropDown == QStringLiteral("DBComboBox2") ? QStringLiteral("尺码规则")
                               : c.dropDown == QStringLiteral("DBComboBox3") ? QStringLiteral("颜色组")
                                                                              : QStringLiteral("品牌");
        EXPECT_EQ(column(db, QStringLiteral("select * from 商品列表"), stored), QStringList{c.expected});
    }
    // After a quick-add the drop-down lists the names in the refill's order.
    h.modal.on(QStringLiteral("TFshangpin_chima"), [](QDialog &) {});
    h.modal.on(kEditor, [&](QDialog &d) {
        click(&d, QStringLiteral("SpeedButton2"));
        auto *c = child<QComboBox>(&d, QStringLiteral("DBComboBox2"));
        QStringList items;
        for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
        EXPECT_EQ(items, column(db, QStringLiteral("select * from 尺码规则 order by 尺码规则"), QStringLiteral("尺码规则")));
    });
    pressInList(h, "Button1");
}

TEST(GoodsWindows, LargeCatalogueOpensWithoutFetchingEveryArticle)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    {
        Transaction tx(db);
        Query ins(db);
        ins.prepare(QStringLiteral("insert into 商品列表 (商品名称,货号,数量) values (:名称,:货号,0)"));
        for (int i = 0; i < 20000; ++i)
            ins.bind(QStringLiteral("名称"), QStringLiteral("商品%1").arg(i)).bind(QStringLiteral("货号"), QStringLiteral("H%1").arg(i)).exec();
        tx.commit();
    }
    h.modal.on(kList, [](QDialog &d) {
        auto *grid = child<QTableView>(&d, QStringLiteral("DBGridEh1"));
        EXPECT_GT(grid->model()->rowCount(), 0);
        EXPECT_LT(grid->model()->rowCount(), 20000);
        EXPECT_TRUE(grid->model()->canFetchMore(QModelIndex()));
    });
    openWindow(kList);
}

TEST(GoodsWindows, BarcodeButtonOpensTheBarcodeWindow)
{
    TestShop shop;
    Harness h;
    if (!hasWindow(QStringLiteral("TFtiaoma_guanli"))) GTEST_SKIP() << "the barcode window is not part of this build";
    pressInList(h, "Button5");
    EXPECT_EQ(h.modal.opened, (QStringList{kList, QStringLiteral("TFtiaoma_guanli")}));
}
