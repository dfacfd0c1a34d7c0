#include "masterdata/ui/Uyanse_list.h"
#include "support/Harness.h"
#include "support/TestShop.h"
#include "test_goods_support.h"
#include "ui/WindowRegistry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace goodstest;

namespace {
const QString kWindow = QStringLiteral("TFyanse_list");
}

TEST(ColourWindow, GroupsAndColoursAreAddedThroughTheirEditors)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    run(db, QStringLiteral("insert into 颜色组 (颜色组) values ('基本色')"));
    run(db, QStringLiteral("insert into 颜色列表 (颜色组,颜色) values ('基本色','黑')"));

    h.modal.on(QStringLiteral("TFyanse_fenlei_add"), [](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("颜色组编辑"));
        auto *e = child<QLineEdit>(&d, QStringLiteral("DBEdit1"));
        e->setText(QStringLiteral("春季"));
        QTest::keyClick(e, Qt::Key_Return);
    });
    // Typed and closed with the close box: discarded.
    h.modal.on(QStringLiteral("TFyanse_add"), [](QDialog &d) {
        child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("不要"));
    });
    h.modal.on(QStringLiteral("TFyanse_add"), [](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("颜色信息编辑"));
        auto *group = child<QComboBox>(&d, QStringLiteral("DBComboBox1"));
        ASSERT_EQ(group->count(), 2);
        EXPECT_EQ(group->itemText(1), QStringLiteral("春季"));
        EXPECT_EQ(group->currentText(), QString());
        group->setCurrentText(QStringLiteral("春季"));
        child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("嫩绿"));
        click(&d, QStringLiteral("Button1"));
    });
    h.modal.on(kWindow, [&](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("颜色设置"));
        auto *pages = child<QTabWidget>(&d, QStringLiteral("PageControl1"));
        EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
        click(&d, QStringLiteral("Button1"));
        pages->setCurrentIndex(1);
        click(&d, QStringLiteral("Button3"));
        click(&d, QStringLiteral("Button3"));
        EXPECT_EQ(child<QTableView>(&d, QStringLiteral("DBGridEh2"))->model()->rowCount(), 2);
        click(&d, QStringLiteral("Button5"));
        EXPECT_FALSE(d.isVisible());
    });
    openWindow(kWindow);
    EXPECT_EQ(column(db, QStringLiteral("select * from 颜色组 order by id"), QStringLiteral("颜色组")),
              (QStringList{QStringLiteral("基本色"), QStringLiteral("春季")}));
    EXPECT_EQ(column(db, QStringLiteral("select * from 颜色列表 where 颜色组='春季'"), QStringLiteral("颜色")),
              QStringList{QStringLiteral("嫩绿")});
    EXPECT_EQ(count(db, QStringLiteral("颜色列表")), 2);

    // Every show starts on the first page again.
    h.modal.on(kWindow, [](QDialog &d) {
        EXPECT_EQ(child<QTabWidget>(&d, QStringLiteral("PageControl1"))->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
    });
    openWindow(kWindow);
}

TEST(ColourWindow, DeletesAskFirstAndAGroupsColoursStay)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    run(db, QStringLiteral("insert into 颜色组 (颜色组) values ('基本色')"));
    run(db, QStringLiteral("insert into 颜色列表 (颜色组,颜色) values ('基本色','黑')"));
    run(db, QStringLiteral("insert into 颜色列表 (颜色组,颜色) values ('基本色','白')"));

    h.msgs.answers = {false, true, true, false, true};
    h.modal.on(kWindow, [&](QDialog &d) {
        click(&d, QStringLiteral("Button2"));   // Cancel
        click(&d, QStringLiteral("Button2"));
        EXPECT_EQ(count(db, QStringLiteral("颜色组")), 0);
        click(&d, QStringLiteral("Button2"));   // nothing left
        click(&d, QStringLiteral("Button4"));   // Cancel
        click(&d, QStringLiteral("Button4"));
    });
    openWindow(kWindow);
    EXPECT_EQ(h.msgs.questions.size(), 5);
    EXPECT_EQ(h.msgs.errors, QStringList{QStringLiteral("没有可以删除的记录")});
    EXPECT_EQ(column(db, QStringLiteral("select * from 颜色列表 where 颜色组='基本色' order by id"), QStringLiteral("颜色")),
              QStringList{QStringLiteral("白")});
}
