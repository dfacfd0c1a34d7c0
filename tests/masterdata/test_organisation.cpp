#include "masterdata/test_organisation_support.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

void registerOrganisationWindows();

namespace {

class OrganisationWindows : public ListWindowTest {
protected:
    OrganisationWindows() : ListWindowTest(&registerOrganisationWindows) {}
};

} // namespace

TEST_F(OrganisationWindows, WarehouseEditorOffersHeadOfficeFirstAndAcceptsTypedBranch)
{
    withList(QStringLiteral("TFkufang_list"), [&](QDialog &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("库房列表"));
        EXPECT_EQ(buttonCaptions(&w, 4),
                  QStringList({QStringLiteral("新增"), QStringLiteral("修改"), QStringLiteral("删除"), QStringLiteral("退出")}));

        // No branch yet: "总部" alone; Enter in the name stores the row.
        h.modal.on(QStringLiteral("TFkufang_add"), [](QDialog &d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("库房信息编辑"));
            auto *box = child<QComboBox>(&d, QStringLiteral("DBComboBox1"));
            ASSERT_EQ(box->count(), 1);
            EXPECT_EQ(box->itemText(0), QStringLiteral("总部"));
            box->setCurrentIndex(0);
            child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("总仓"));
            QTest::keyClick(child<QLineEdit>(&d, QStringLiteral("DBEdit1")), Qt::Key_Return);
            EXPECT_FALSE(d.isVisible());
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 所属分店, 库房名称 from 库房名称")), QStringList{QStringLiteral("总部|总仓")});

        {
            Query q(shop.db());
            q.exec(QStringLiteral("insert into 分店 (分店) values ('东门店')"));
            q.exec(QStringLiteral("insert into 分店 (分店) values ('西门店')"));
        }
        // 修改: the branches follow "总部"; the row's own branch is shown; typed text is taken.
        h.modal.on(QStringLiteral("TFkufang_add"), [](QDialog &d) {
            auto *box = child<QComboBox>(&d, QStringLiteral("DBComboBox1"));
            QStringList items;
            for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
            EXPECT_EQ(items, QStringList({QStringLiteral("总部"), QStringLiteral("东门店"), QStringLiteral("西门店")}));
            EXPECT_EQ(box->currentText(), QStringLiteral("总部"));
            EXPECT_EQ(child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->text(), QStringLiteral("总仓"));
            box->setEditText(QStringLiteral("南门店"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button2")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 所属分店, 库房名称 from 库房名称")), QStringList{QStringLiteral("南门店|总仓")});

        // 取消 after changing both fields leaves the row as stored.
        h.modal.on(QStringLiteral("TFkufang_add"), [](QDialog &d) {
            child<QComboBox>(&d, QStringLiteral("DBComboBox1"))->setEditText(QStringLiteral("东门店"));
            child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("改名"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button2")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button2")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 所属分店, 库房名称 from 库房名称")), QStringList{QStringLiteral("南门店|总仓")});

        // Delete only after OK.
        h.msgs.answers = {false, true};
        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 库房名称 from 库房名称")).size(), 1);
        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_TRUE(rows(shop.db(), QStringLiteral("select 库房名称 from 库房名称")).isEmpty());
        EXPECT_EQ(h.msgs.questions, QStringList({QStringLiteral("确实要删除吗？"), QStringLiteral("确实要删除吗？")}));
        ASSERT_TRUE(click(&w, QStringLiteral("Button4")));
        EXPECT_FALSE(w.isVisible());
    });
}

TEST_F(OrganisationWindows, WarehouseGridEditsBothColumnsInPlace)
{
    Query(shop.db()).exec(QStringLiteral("insert into 库房名称 (所属分店, 库房名称) values ('总部', '总仓')"));
    withList(QStringLiteral("TFkufang_list"), [&](QDialog &w) {
        auto *grid = child<QTableView>(&w, QStringLiteral("DBGridEh1"));
        QAbstractItemModel *m = grid->model();
        // The visible columns, in order.
        QStringList shown;
        for (int v = 0; v < m->columnCount(); ++v) {
            const int c = grid->horizontalHeader()->logicalIndex(v);
            if (!grid->isColumnHidden(c)) shown << m->headerData(c, Qt::Horizontal).toString();
        }
        EXPECT_EQ(shown, QStringList({QStringLiteral("所属分店"), QStringLiteral("库房名称")}));
        const int nameCol = grid->horizontalHeader()->logicalIndex(1);
        ASSERT_TRUE(m->setData(m->index(0, nameCol), QStringLiteral("一号库")));
        // Leaving the window stores what was typed into the grid.
        ASSERT_TRUE(click(&w, QStringLiteral("Button4")));
    });
    EXPECT_EQ(rows(shop.db(), QStringLiteral("select 所属分店, 库房名称 from 库房名称")), QStringList{QStringLiteral("总部|一号库")});
}

TEST_F(OrganisationWindows, BranchesAreEditedOnlyThroughTheEditor)
{
    withList(QStringLiteral("TFfendian_shezhi"), [&](QDialog &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("分店设置"));
        // Delete with an empty list says so and asks nothing.
        h.msgs.answers = {true};
        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_EQ(h.msgs.errors, QStringList{QStringLiteral("没有可以删除的记录")});

        h.modal.on(QStringLiteral("TFfendian_add"), [](QDialog &d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("分店信息编辑"));
            child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("东门店"));
            QTest::keyClick(child<QLineEdit>(&d, QStringLiteral("DBEdit1")), Qt::Key_Return);
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        h.modal.on(QStringLiteral("TFfendian_add"), [](QDialog &d) {
            child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("不要的"));
            d.close();   // the close box discards the new row
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 分店 from 分店")), QStringList{QStringLiteral("东门店")});

        auto *grid = child<QTableView>(&w, QStringLiteral("DBGridEh1"));
        ASSERT_EQ(grid->model()->rowCount(), 1);
        const QModelIndex cell = grid->model()->index(0, grid->horizontalHeader()->logicalIndex(0));
        EXPECT_FALSE(grid->model()->flags(cell) & Qt::ItemIsEditable);
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);

        h.modal.on(QStringLiteral("TFfendian_add"), [](QDialog &d) {
            auto *e = child<QLineEdit>(&d, QStringLiteral("DBEdit1"));
            EXPECT_EQ(e->text(), QStringLiteral("东门店"));
            e->setText(QStringLiteral("东门旗舰店"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button2")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 分店 from 分店")), QStringList{QStringLiteral("东门旗舰店")});
        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_TRUE(rows(shop.db(), QStringLiteral("select 分店 from 分店")).isEmpty());
    });
}

TEST_F(OrganisationWindows, GuidesDeleteAtOnceAndEnterDoesNothing)
{
    withList(QStringLiteral("TFdaogouyuan_list"), [&](QDialog &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("导购员列表"));
        EXPECT_EQ(buttonCaptions(&w, 4),
                  QStringList({QStringLiteral("新增"), QStringLiteral("修改"), QStringLiteral("退出"), QStringLiteral("删除")}));

        h.modal.on(QStringLiteral("TFdaogouyuan_add"), [&](QDialog &d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("导购员编辑"));
            auto *e = child<QLineEdit>(&d, QStringLiteral("DBEdit1"));
            e->setText(QStringLiteral("小李"));
            QTest::keyClick(e, Qt::Key_Return);
            EXPECT_TRUE(d.isVisible());
            EXPECT_TRUE(rows(shop.db(), QStringLiteral("select 姓名 from 导购员")).isEmpty());
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        h.modal.on(QStringLiteral("TFdaogouyuan_add"), [](QDialog &d) {
            child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("小王"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 姓名 from 导购员 order by id")),
                  QStringList({QStringLiteral("小李"), QStringLiteral("小王")}));

        // 删除 is Button4 and asks nothing; 修改 of the remaining guide.
        ASSERT_TRUE(click(&w, QStringLiteral("Button4")));
        EXPECT_TRUE(h.msgs.questions.isEmpty());
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 姓名 from 导购员")).size(), 1);
        h.modal.on(QStringLiteral("TFdaogouyuan_add"), [](QDialog &d) {
            child<QLineEdit>(&d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("小张"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button2")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 姓名 from 导购员")), QStringList{QStringLiteral("小张")});

        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_FALSE(w.isVisible());
    });
}
