#include "masterdata/ui/Ushangpin_chima.h"
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

const QString kWindow = QStringLiteral("TFshangpin_chima");

void addSize(Database &db, const QString &rule, const QString &size, const QVariant &order)
{
    run(db, QStringLiteral("insert into 商品尺码 (尺码规则,尺码,排序编号) values (:r,:s,:n)"),
        {{QStringLiteral("r"), rule}, {QStringLiteral("s"), size}, {QStringLiteral("n"), order}});
}

QStringList shownSizes(QDialog &d)
{
    auto *m = qobject_cast<RecordList *>(child<QTableView>(&d, QStringLiteral("DBGridEh1"))->model());
    QStringList r;
    for (int i = 0; i < m->rowCount(); ++i) r << m->value(i, QStringLiteral("尺码")).toString();
    return r;
}

QStringList items(QComboBox *c)
{
    QStringList r;
    for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
    return r;
}

void select(QDialog &d, const QString &rule)
{
    auto *c = child<QComboBox>(&d, QStringLiteral("ComboBox1"));
    const int i = c->findText(rule);
    ASSERT_GE(i, 0) << rule.toStdString();
    c->setCurrentIndex(i);
    Q_EMIT c->activated(i);
}

} // namespace

TEST(SizeWindow, SelectorFillsOnPageSwitchAndShowsARulesSizesInOrder)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    run(db, QStringLiteral("insert into 尺码规则 (尺码规则) values ('上衣')"));
    run(db, QStringLiteral("insert into 尺码规则 (尺码规则) values ('裤子')"));
    addSize(db, QStringLiteral("上衣"), QStringLiteral("XL"), 4);
    addSize(db, QStringLiteral("裤子"), QStringLiteral("30"), 1);
    addSize(db, QStringLiteral("上衣"), QStringLiteral("S"), 1);
    addSize(db, QStringLiteral("上衣"), QStringLiteral("M"), 2);
    addSize(db, QStringLiteral("上衣"), QStringLiteral("L"), 2);   // same number as M: added later, shown later

    h.modal.on(kWindow, [&](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("商品尺码"));
        auto *pages = child<QTabWidget>(&d, QStringLiteral("PageControl1"));
        EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("TabSheet2"));
        EXPECT_EQ(pages->tabText(0), QStringLiteral("尺码规则"));
        EXPECT_EQ(pages->tabText(1), QStringLiteral("尺码明细规则"));
        EXPECT_EQ(shownSizes(d).size(), 5);   // every size of every rule
        auto *selector = child<QComboBox>(&d, QStringLiteral("ComboBox1"));
        EXPECT_EQ(selector->count(), 0);
        pages->setCurrentIndex(0);
        pages->setCurrentIndex(1);
        EXPECT_EQ(items(selector), (QStringList{QStringLiteral("上衣"), QStringLiteral("裤子")}));
        select(d, QStringLiteral("上衣"));
        EXPECT_EQ(shownSizes(d), (QStringList{QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"), QStringLiteral("XL")}));
    });
    openWindow(kWindow);
    // The next show opens on the page last shown.
    h.modal.on(kWindow, [&](QDialog &d) {
        EXPECT_EQ(child<QTabWidget>(&d, QStringLiteral("PageControl1"))->currentWidget()->objectName(), QStringLiteral("TabSheet2"));
        child<QTabWidget>(&d, QStringLiteral("PageControl1"))->setCurrentIndex(0);
    });
    openWindow(kWindow);
    h.modal.on(kWindow, [&](QDialog &d) {
        EXPECT_EQ(child<QTabWidget>(&d, QStringLiteral("PageControl1"))->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
    });
    openWindow(kWindow);
}

TEST(SizeWindow, SortNumberTypedInTheGridMustBeANumber)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    addSize(db, QStringLiteral("上衣"), QStringLiteral("S"), 1);
    addSize(db, QStringLiteral("上衣"), QStringLiteral("M"), 2);

    h.modal.on(kWindow, [&](QDialog &d) {
        auto *grid = child<QTableView>(&d, QStringLiteral("DBGridEh1"));
        auto *m = qobject_cast<RecordList *>(grid->model());
        const QModelIndex order = m->index(0, m->columnIndex(QStringLiteral("排序编号")));
        EXPECT_FALSE(m->flags(m->index(0, m->columnIndex(QStringLiteral("尺码")))) & Qt::ItemIsEditable);
        EXPECT_FALSE(m->flags(m->index(0, m->columnIndex(QStringLiteral("尺码规则")))) & Qt::ItemIsEditable);
        EXPECT_TRUE(m->flags(order) & Qt::ItemIsEditable);
        for (const QString &bad : {QStringLiteral("第一"), QStringLiteral("3a")}) EXPECT_FALSE(m->setData(order, bad));
        grid->setCurrentIndex(m->index(1, 0));
        EXPECT_EQ(column(db, QStringLiteral("select * from 商品尺码 order by id"), QStringLiteral("排序编号")),
                  (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        ASSERT_TRUE(m->setData(m->index(1, m->columnIndex(QStringLiteral("排序编号"))), QStringLiteral("0")));
        grid->setCurrentIndex(m->index(0, 0));   // leaving the row stores it
    });
    openWindow(kWindow);
    EXPECT_EQ(h.msgs.errors, QStringList(2, QStringLiteral("排序编号必须是数字！")));
    EXPECT_EQ(column(db, QStringLiteral("select * from 商品尺码 order by id"), QStringLiteral("排序编号")),
              (QStringList{QStringLiteral("1"), QStringLiteral("0")}));
}

TEST(SizeWindow, NewRuleAndNewSizeThroughTheirEditors)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();
    run(db, QStringLiteral("insert into 尺码规则 (尺码规则) values ('上衣')"));
    addSize(db, QStringLiteral("上衣"), QStringLiteral("S"), 1);

    // The rule editor: 取消 discards, Enter does not post, 确定 stores.
    h.modal.on(QStringLiteral("TFchima_guize_add"), [](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("尺码规则添加"));
        child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("不要"));
        click(&d, QStringLiteral("Button2"));
    });
    h.modal.on(QStringLiteral("TFchima_guize_add"), [](QDialog &d) {
        auto *e = child<QLineEdit>(&d, QStringLiteral("DBEdit1"));
        e->setText(QStringLiteral("童装"));
        QTest::keyClick(e, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        click(&d, QStringLiteral("Button1"));
        EXPECT_FALSE(d.isVisible());
    });
    // A new size while one rule is shown: nothing is preset; Enter stores it.
    h.modal.on(QStringLiteral("TFshangpin_chima_add"), [](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("商品尺码编辑"));
        auto *rule = child<QComboBox>(&d, QStringLiteral("DBComboBox1"));
        EXPECT_EQ(rule->currentText(), QString());
        EXPECT_EQ(items(rule), (QStringList{QStringLiteral("上衣"), QStringLiteral("童装")}));
        rule->setCurrentText(QStringLiteral("童装"));
        auto *size = child<QLineEdit>(&d, QStringLiteral("DBEdit1"));
        size->setText(QStringLiteral("110"));
        QTest::keyClick(size, Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    h.modal.on(kWindow, [&](QDialog &d) {
        child<QTabWidget>(&d, QStringLiteral("PageControl1"))->setCurrentIndex(0);
        click(&d, QStringLiteral("Button3"));
        click(&d, QStringLiteral("Button3"));
        child<QTabWidget>(&d, QStringLiteral("PageControl1"))->setCurrentIndex(1);
        select(d, QStringLiteral("上衣"));
        click(&d, QStringLiteral("Button1"));
        EXPECT_EQ(shownSizes(d), QStringList{QStringLiteral("S")});
    });
    openWindow(kWindow);
    EXPECT_EQ(column(db, QStringLiteral("select * from 尺码规则 order by id"), QStringLiteral("尺码规则")),
              (QStringList{QStringLiteral("上衣"), QStringLiteral("童装")}));
    Query q(db);
    q.exec(QStringLiteral("select * from 商品尺码 where 尺码='110'"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("尺码规则")), QStringLiteral("童装"));
    EXPECT_TRUE(q.value(QStringLiteral("排序编号")).isNull());
    EXPECT_TRUE(h.msgs.all.isEmpty()) << h.msgs.all.join(u'\n').toStdString();
}

TEST(SizeWindow, DeleteSaysWhenThereIsNothingAndLeavesARulesSizes)
{
    TestShop shop;
    Harness h;
    Database &db = shop.db();

    // Empty lists: the message, no question.
    h.modal.on(kWindow, [](QDialog &d) {
        click(&d, QStringLiteral("Button2"));
        click(&d, QStringLiteral("Button4"));
    });
    openWindow(kWindow);
    EXPECT_EQ(h.msgs.all, QStringList(2, QStringLiteral("info:没有尺码规则可以删除")));

    run(db, QStringLiteral("insert into 尺码规则 (尺码规则) values ('上衣')"));
    addSize(db, QStringLiteral("上衣"), QStringLiteral("S"), 1);
    addSize(db, QStringLiteral("上衣"), QStringLiteral("M"), 2);
    h.msgs.clear();
    h.msgs.answers = {false, true, true};
    h.modal.on(kWindow, [&](QDialog &d) {
        click(&d, QStringLiteral("Button4"));   // Cancel
        EXPECT_EQ(count(db, QStringLiteral("尺码规则")), 1);
        click(&d, QStringLiteral("Button4"));
        EXPECT_EQ(count(db, QStringLiteral("尺码规则")), 0);
        EXPECT_EQ(count(db, QStringLiteral("商品尺码")), 2);   // the rule's sizes stay
        click(&d, QStringLiteral("Button2"));
    });
    openWindow(kWindow);
    EXPECT_EQ(h.msgs.all, QStringList(3, QStringLiteral("question:确实要删除吗？")));
    EXPECT_EQ(count(db, QStringLiteral("商品尺码")), 1);
}
