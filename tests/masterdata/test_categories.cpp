#include "masterdata/ui/Upinpai_list.h"
#include "masterdata/ui/Ushangpin_leibie.h"
#include "support/Harness.h"
#include "support/TestShop.h"
#include "test_goods_support.h"
#include "ui/WindowRegistry.h"

#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace goodstest;

namespace {

// The category and brand windows differ only in names and texts.
struct NameLists {
    const char *list, *editor, *table, *listCaption, *editorCaption, *label, *secondButton;
};

const NameLists kLists[] = {
    {"TFshangpin_leibie", "TFshangpin_leibie_add", "商品类型", "商品类别设置", "商品类别编辑", "商品类别", "退出"},
    {"TFpinpai_list", "TFpinpai_add", "品牌", "品牌设置", "品牌编辑", "品牌名称", "取消"},
};

void PrintTo(const NameLists &p, std::ostream *os) { *os << p.list; }

QString s(const char *t) { return QString::fromUtf8(t); }

NameListWindow *listWindow(const NameLists &p) { return windowAs<NameListWindow>(s(p.list)); }

} // namespace

class NameListWindows : public ::testing::TestWithParam<NameLists> {};

TEST_P(NameListWindows, AddStoresOnConfirmOrEnterAndDiscardsOtherwise)
{
    const NameLists &p = GetParam();
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    NameListWindow *w = listWindow(p);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), s(p.listCaption));

    // 新增, type, then the second button: nothing stored, flag untouched.
    h.modal.on(s(p.editor), [&](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), s(p.editorCaption));
        EXPECT_EQ(child<QAbstractButton>(&d, QStringLiteral("Button2"))->text(), s(p.secondButton));
        child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("休闲"));
        click(&d, QStringLiteral("Button2"));
    });
    // Typed and closed with the close box: discarded the same way.
    h.modal.on(s(p.editor), [&](QDialog &d) { child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("运动")); });
    // 确定 stores the row and sets NewRowAdded.
    h.modal.on(s(p.editor), [&](QDialog &d) {
        child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("正装"));
        click(&d, QStringLiteral("Button1"));
    });
    // Enter in the name stores it exactly as 确定 does.
    h.modal.on(s(p.editor), [&](QDialog &d) {
        auto *e = child<QLineEdit>(&d, QStringLiteral("DBEdit1"));
        e->setText(QStringLiteral("童装"));
        QTest::keyClick(e, Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    h.modal.on(s(p.list), [&](QDialog &d) {
        click(&d, QStringLiteral("Button1"));
        click(&d, QStringLiteral("Button1"));
        EXPECT_FALSE(w->NewRowAdded);
        click(&d, QStringLiteral("Button1"));
        EXPECT_TRUE(w->NewRowAdded);
        click(&d, QStringLiteral("Button1"));
        click(&d, QStringLiteral("Button3"));
        EXPECT_FALSE(d.isVisible());
    });
    openWindow(s(p.list));
    EXPECT_EQ(column(db, QStringLiteral("select * from %1 order by id").arg(s(p.table)), s(p.table)),
              (QStringList{QStringLiteral("正装"), QStringLiteral("童装")}));
    EXPECT_TRUE(h.msgs.all.isEmpty()) << h.msgs.all.join(u'\n').toStdString();
}

TEST_P(NameListWindows, DeleteAsksFirstAndCancelKeepsTheRow)
{
    const NameLists &p = GetParam();
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    run(db, QStringLiteral("insert into %1 (%1) values ('男装')").arg(s(p.table)));

    h.msgs.answers = {false, true, true};
    h.modal.on(s(p.list), [&](QDialog &d) {
        click(&d, QStringLiteral("Button2"));
        EXPECT_EQ(count(db, s(p.table)), 1);
        click(&d, QStringLiteral("Button2"));
        EXPECT_EQ(count(db, s(p.table)), 0);
        // Nothing left: the confirmation, then the data layer says there is no row.
        click(&d, QStringLiteral("Button2"));
    });
    openWindow(s(p.list));
    EXPECT_EQ(h.msgs.questions, QStringList(3, QStringLiteral("确实要删除吗？")));
    EXPECT_EQ(h.msgs.errors, QStringList{QStringLiteral("没有可以删除的记录")});
}

TEST_P(NameListWindows, RenameInTheGridLeavesArticlesWithTheOldName)
{
    const NameLists &p = GetParam();
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    run(db, QStringLiteral("insert into %1 (%1) values ('男装')").arg(s(p.table)));
    run(db, QStringLiteral("insert into %1 (%1) values ('女装')").arg(s(p.table)));
    const QString articleColumn = s(p.table) == QStringLiteral("商品类型") ? QStringLiteral("商品类别") : QStringLiteral("品牌");
    run(db, QStringLiteral("insert into 商品列表 (货号,%1,数量) values ('A1','男装',0)").arg(articleColumn));

    h.modal.on(s(p.list), [&](QDialog &d) {
        auto *grid = child<QTableView>(&d, QStringLiteral("DBGridEh1"));
        auto *m = qobject_cast<RecordList *>(grid->model());
        ASSERT_NE(m, nullptr);
        ASSERT_TRUE(m->setData(m->index(0, m->columnIndex(s(p.table))), QStringLiteral("男士")));
        grid->setCurrentIndex(m->index(1, 0));   // leaving the row stores it
        EXPECT_FALSE(listWindow(p)->NewRowAdded);
        // A change still in its row is stored when the window closes.
        ASSERT_TRUE(m->setData(m->index(1, m->columnIndex(s(p.table))), QStringLiteral("女士")));
        click(&d, QStringLiteral("Button3"));
    });
    openWindow(s(p.list));
    EXPECT_EQ(column(db, QStringLiteral("select * from %1 order by id").arg(s(p.table)), s(p.table)),
              (QStringList{QStringLiteral("男士"), QStringLiteral("女士")}));
    EXPECT_EQ(column(db, QStringLiteral("select * from 商品列表"), articleColumn), QStringList{QStringLiteral("男装")});
}

INSTANTIATE_TEST_SUITE_P(CategoriesAndBrands, NameListWindows, ::testing::ValuesIn(kLists),
                         [](const auto &info) { return std::string(info.index == 0 ? "Categories" : "Brands"); });
