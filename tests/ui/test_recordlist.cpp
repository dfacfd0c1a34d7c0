#include "support/Harness.h"
#include "support/TestShop.h"
#include "ui/RecordEditor.h"
#include "ui/WindowRegistry.h"

#include <QLineEdit>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

qint64 count(Database &db, const QString &table)
{
    Query q(db);
    q.exec(QStringLiteral("select count(*) as n from ") + table);
    q.next();
    return q.integer(QStringLiteral("n"));
}

} // namespace

class RecordListOnEngines : public ::testing::TestWithParam<Engine> {};

TEST_P(RecordListOnEngines, PostChecksTypesAndWritesTheRow)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Harness h;
    RecordList list(shop.db(), QStringLiteral("供货商"));
    list.load();
    EXPECT_TRUE(list.isEmpty());

    list.append({{QStringLiteral("我方应付金额"), 0}});
    EXPECT_EQ(list.state(), RecordList::State::Insert);
    list.setField(QStringLiteral("供货商名称"), QStringLiteral("杭州面料"));
    list.setField(QStringLiteral("我方应付金额"), QStringLiteral("一千五"));
    EXPECT_FALSE(list.post({{QStringLiteral("我方应付金额"), QStringLiteral("期初应付")}}));
    EXPECT_EQ(h.msgs.errors.value(0), QStringLiteral("期初应付必须是数字！"));
    EXPECT_EQ(count(shop.db(), QStringLiteral("供货商")), 0);
    EXPECT_EQ(list.state(), RecordList::State::Insert);   // what was typed stays

    list.setField(QStringLiteral("我方应付金额"), QStringLiteral("1500.125"));
    ASSERT_TRUE(list.post());
    EXPECT_EQ(list.state(), RecordList::State::Browse);
    ASSERT_EQ(list.rowCount(), 1);
    EXPECT_EQ(list.current(QStringLiteral("供货商名称")).toString(), QStringLiteral("杭州面料"));
    Query q(shop.db());
    q.exec(QStringLiteral("select * from 供货商"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.money(QStringLiteral("我方应付金额")).toString(), QStringLiteral("1500.125"));

    // Edit writes only the changed field; cancel restores what was shown.
    ASSERT_TRUE(list.edit());
    list.setField(QStringLiteral("联系人"), QStringLiteral("王经理"));
    list.cancel();
    EXPECT_TRUE(list.current(QStringLiteral("联系人")).isNull());
    ASSERT_TRUE(list.edit());
    list.setField(QStringLiteral("联系人"), QStringLiteral("王经理"));
    ASSERT_TRUE(list.post());
    q.exec(QStringLiteral("select * from 供货商"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("联系人")), QStringLiteral("王经理"));
    EXPECT_EQ(q.money(QStringLiteral("我方应付金额")).toString(), QStringLiteral("1500.125"));

    // Another workstation deleted the row meanwhile: saving it is not a success.
    ASSERT_TRUE(list.edit());
    list.setField(QStringLiteral("联系人"), QStringLiteral("李经理"));
    Query(shop.db()).exec(QStringLiteral("delete from 供货商"));
    EXPECT_FALSE(list.post());
    EXPECT_EQ(h.msgs.errors.last(), QStringLiteral("该记录已被删除，无法保存"));
    list.cancel();
    list.reload();
    EXPECT_EQ(list.rowCount(), 0);
    Query(shop.db()).exec(QStringLiteral("insert into 供货商 (供货商名称) values ('杭州面料')"));
    list.reload();

    ASSERT_TRUE(list.deleteCurrent());
    EXPECT_EQ(count(shop.db(), QStringLiteral("供货商")), 0);
    EXPECT_FALSE(list.deleteCurrent());
    EXPECT_EQ(h.msgs.errors.last(), QStringLiteral("没有可以删除的记录"));
}

TEST_P(RecordListOnEngines, FetchesLazilySortsByTitleAndEditsInPlace)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Harness h;
    {
        Transaction tx(shop.db());
        Query ins(shop.db());
        ins.prepare(QStringLiteral("insert into 商品尺码 (尺码规则,尺码,排序编号) values (:r,:s,:n)"));
        for (int i = 0; i < 1000; ++i)
            ins.bind(QStringLiteral("r"), QStringLiteral("规则")).bind(QStringLiteral("s"), QStringLiteral("S%1").arg(i, 4, 10, QChar(u'0')))
                .bind(QStringLiteral("n"), 1000 - i).exec();
        tx.commit();
    }
    QTableView view;
    RecordList list(shop.db(), QStringLiteral("商品尺码"));
    list.load(QStringLiteral("select * from 商品尺码 where 尺码规则=:r"), {{QStringLiteral("r"), QStringLiteral("规则")}});
    list.attach(&view, {QStringLiteral("尺码规则"), QStringLiteral("尺码"), QStringLiteral("排序编号")}, {QStringLiteral("排序编号")});
    EXPECT_LT(list.rowCount(), 1000);
    EXPECT_TRUE(list.canFetchMore());
    list.fetchAll();
    EXPECT_EQ(list.rowCount(), 1000);

    list.sort(list.columnIndex(QStringLiteral("排序编号")), Qt::AscendingOrder);
    EXPECT_EQ(list.value(0, QStringLiteral("尺码")).toString(), QStringLiteral("S0999"));

    // A change typed into the grid is stored when the user leaves the row; text is refused.
    const QModelIndex cell = list.index(0, list.columnIndex(QStringLiteral("排序编号")));
    EXPECT_FALSE(list.setData(cell, QStringLiteral("abc")));
    EXPECT_EQ(h.msgs.errors.value(0), QStringLiteral("排序编号必须是数字！"));
    EXPECT_TRUE(list.setData(cell, QStringLiteral("5000")));
    list.setCurrentRow(1);
    Query q(shop.db());
    q.exec(QStringLiteral("select 排序编号 from 商品尺码 where 尺码='S0999'"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("排序编号")), QStringLiteral("5000"));
    EXPECT_FALSE(list.flags(list.index(0, list.columnIndex(QStringLiteral("尺码")))) & Qt::ItemIsEditable);
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordListOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());

namespace {

class SampleEditor : public RecordEditor {
public:
    SampleEditor()
    {
        setObjectName(QStringLiteral("Sample_add"));
        auto *name = new QLineEdit(this);
        name->setObjectName(QStringLiteral("DBEdit1"));
        auto *rate = new QLineEdit(this);
        rate->setObjectName(QStringLiteral("DBEdit2"));
        fields().bind(name, QStringLiteral("客户类型"), QStringLiteral("客户类型"));
        fields().bind(rate, QStringLiteral("折扣率"), QStringLiteral("折扣率"));
    }
};

class SampleList : public ListWindow {
public:
    SampleList() : ListWindow(QStringLiteral("客户类型"), QStringLiteral("客户类型"))
    {
        list().load();
        list().attach(grid());
    }
    using ListWindow::addRecord;
    using ListWindow::deleteRecord;
    using ListWindow::editRecord;
};

} // namespace

TEST(RecordEditorWindow, EditorShowsPresetsPostsAndDiscardsOnClose)
{
    TestShop shop;
    Harness h;
    registerWindow(QStringLiteral("Sample_add"), [](QWidget *) { return new SampleEditor; });
    SampleList w;

    // 取消 (closing without posting) leaves nothing behind.
    h.modal.on(QStringLiteral("Sample_add"), [](QDialog &d) {
        EXPECT_EQ(child<QLineEdit>(&d, QStringLiteral("DBEdit2"))->text(), QStringLiteral("10"));
        child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("临时"));
    });
    w.addRecord(QStringLiteral("Sample_add"), {{QStringLiteral("折扣率"), 10}});
    EXPECT_EQ(w.list().rowCount(), 0);
    EXPECT_EQ(count(shop.db(), QStringLiteral("客户类型")), 0);

    // A rate that is not a number keeps the editor open with what was typed.
    h.modal.on(QStringLiteral("Sample_add"), [&](QDialog &d) {
        auto &e = static_cast<SampleEditor &>(d);
        child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("金卡"));
        child<QLineEdit>(&d, QStringLiteral("DBEdit2"))->setText(QStringLiteral("八五折"));
        EXPECT_FALSE(e.post());
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(child<QLineEdit>(&d, QStringLiteral("DBEdit2"))->text(), QStringLiteral("八五折"));
        child<QLineEdit>(&d, QStringLiteral("DBEdit2"))->setText(QStringLiteral("8.5"));
        EXPECT_TRUE(e.post());
    });
    w.addRecord(QStringLiteral("Sample_add"), {{QStringLiteral("折扣率"), 10}});
    EXPECT_EQ(h.msgs.errors, QStringList{QStringLiteral("折扣率必须是数字！")});
    ASSERT_EQ(w.list().rowCount(), 1);
    EXPECT_EQ(w.list().data(w.list().index(0, w.list().columnIndex(QStringLiteral("折扣率")))).toString(), QStringLiteral("8.5"));

    h.msgs.answers = {false, true};
    w.deleteRecord();
    EXPECT_EQ(count(shop.db(), QStringLiteral("客户类型")), 1);
    w.deleteRecord();
    EXPECT_EQ(count(shop.db(), QStringLiteral("客户类型")), 0);
    EXPECT_EQ(h.msgs.questions.value(0), QStringLiteral("确实要删除吗？"));
}

TEST(RecordEditorWindow, EditorOfARowChangedElsewhereShowsTheStoredRowToChangeAgain)
{
    TestShop shop;
    Harness h;
    registerWindow(QStringLiteral("Sample_add"), [](QWidget *) { return new SampleEditor; });
    Query(shop.db()).exec(QStringLiteral("insert into 客户类型 (客户类型,折扣率) values ('金卡',8.5)"));
    SampleList w;
    auto other = Database::openSqlite(shop.db().location());

    h.modal.on(QStringLiteral("Sample_add"), [&](QDialog &d) {
        auto &e = static_cast<SampleEditor &>(d);
        auto *rate = child<QLineEdit>(&d, QStringLiteral("DBEdit2"));
        EXPECT_EQ(rate->text(), QStringLiteral("8.5"));
        Query(*other).exec(QStringLiteral("update 客户类型 set 折扣率=9 where 客户类型='金卡'"));
        rate->setText(QStringLiteral("8"));
        EXPECT_FALSE(e.post());
        EXPECT_EQ(h.msgs.errors, QStringList{QStringLiteral("该记录已被其他工作站修改，已重新读取，请重新修改")});
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(rate->text(), QStringLiteral("9"));
        rate->setText(QStringLiteral("8"));
        EXPECT_TRUE(e.post());
    });
    w.editRecord(QStringLiteral("Sample_add"));
    Query q(shop.db());
    q.exec(QStringLiteral("select 折扣率 from 客户类型"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("折扣率")), QStringLiteral("8"));
}
