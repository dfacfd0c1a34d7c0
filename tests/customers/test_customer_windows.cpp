#include "app/ui/AllWindows.h"
#include "masterdata/test_organisation_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

QLineEdit *edit(QDialog &d, const QString &name) { return child<QLineEdit>(&d, name); }

// Whether a label with this text is shown in the window.
bool labelShown(QDialog &d, const QString &text)
{
    for (QLabel *l : d.findChildren<QLabel *>())
        if (l->text() == text) return l->isVisible();
    ADD_FAILURE() << "no label " << text.toStdString();
    return false;
}

class CustomerWindows : public ListWindowTest {
protected:
    CustomerWindows() : ListWindowTest(&registerCustomersWindows) {}
};

} // namespace

TEST_F(CustomerWindows, MemberTypeStartsAtFullPriceAndKeepsItsRate)
{
    withList(QStringLiteral("TFkehu_leixing_list"), [&](QDialog &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("客户类型"));
        h.modal.on(QStringLiteral("TFkehu_leixing_add"), [](QDialog &d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("客户类型编辑"));
            EXPECT_EQ(edit(d, QStringLiteral("DBEdit2"))->text(), QStringLiteral("10"));
            edit(d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("普通会员"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 客户类型, 折扣率 from 客户类型")), QStringList{QStringLiteral("普通会员|10")});

        h.modal.on(QStringLiteral("TFkehu_leixing_add"), [](QDialog &d) {
            EXPECT_EQ(edit(d, QStringLiteral("DBEdit1"))->text(), QStringLiteral("普通会员"));
            edit(d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("金卡会员"));
            edit(d, QStringLiteral("DBEdit2"))->setText(QStringLiteral("8.5"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button2")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 客户类型, 折扣率 from 客户类型")), QStringList{QStringLiteral("金卡会员|8.5")});

        h.modal.on(QStringLiteral("TFkehu_leixing_add"), [](QDialog &d) {
            edit(d, QStringLiteral("DBEdit2"))->setText(QStringLiteral("5"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button2")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button2")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 折扣率 from 客户类型")), QStringList{QStringLiteral("8.5")});

        h.msgs.answers = {false, true};
        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 客户类型 from 客户类型")).size(), 1);
        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_TRUE(rows(shop.db(), QStringLiteral("select 客户类型 from 客户类型")).isEmpty());
        ASSERT_TRUE(click(&w, QStringLiteral("Button4")));
    });
}

TEST_F(CustomerWindows, RegionsAddEditCancelDelete)
{
    withList(QStringLiteral("TFkehu_qvyu_list"), [&](QDialog &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("客户区域"));
        h.modal.on(QStringLiteral("TFkehu_qvyu_add"), [](QDialog &d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("客户区域编辑"));
            edit(d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("城东"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        h.modal.on(QStringLiteral("TFkehu_qvyu_add"), [](QDialog &d) {
            edit(d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("城西"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button2")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 区域 from 区域")), QStringList{QStringLiteral("城东")});
        h.modal.on(QStringLiteral("TFkehu_qvyu_add"), [](QDialog &d) {
            EXPECT_EQ(edit(d, QStringLiteral("DBEdit1"))->text(), QStringLiteral("城东"));
            edit(d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("城南"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button2")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select 区域 from 区域")), QStringList{QStringLiteral("城南")});
        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_TRUE(rows(shop.db(), QStringLiteral("select 区域 from 区域")).isEmpty());
        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_EQ(h.msgs.errors, QStringList{QStringLiteral("没有可以删除的记录")});
    });
}

namespace {

struct Account {
    const char *list, *editor, *table, *name, *balance, *balanceLabel, *hint;
    bool blankNameRefused;
};

const Account kAccounts[] = {
    {"TFpifa_kehu_list", "TFpifa_kehu_add", "批发客户资料", "客户名称", "我方应收金额", "期初应收", "期初时该客户欠我方的货款", true},
    {"TFgonghuoshang_list", "TFgonghuoshang_add", "供货商", "供货商名称", "我方应付金额", "期初应付",
     "期初时我方欠此供货商的货款金额", false},
};

class AccountWindows : public CustomerWindows, public ::testing::WithParamInterface<Account> {};

QString s(const char *t) { return QString::fromUtf8(t); }

} // namespace

TEST_P(AccountWindows, OpeningBalanceOnlyForNewRowsAndNameCheck)
{
    const Account a = GetParam();
    const QString table = s(a.table);
    const QString select = QStringLiteral("select %1, 联系人, 联系电话, 联系地址, %2, 备注 from %3").arg(s(a.name), s(a.balance), table);
    withList(s(a.list), [&](QDialog &w) {
        // A name of blanks: refused for a customer (editor open, nothing written), taken for a supplier.
        h.modal.on(s(a.editor), [&](QDialog &d) {
            EXPECT_TRUE(edit(d, QStringLiteral("DBEdit5"))->isVisible());
            EXPECT_TRUE(labelShown(d, s(a.balanceLabel)));
            EXPECT_TRUE(labelShown(d, s(a.hint)));
            EXPECT_EQ(edit(d, QStringLiteral("DBEdit5"))->text(), QStringLiteral("0"));
            edit(d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("   "));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
            EXPECT_EQ(d.isVisible(), a.blankNameRefused);
            if (a.blankNameRefused) {
                EXPECT_EQ(h.msgs.errors, QStringList{QStringLiteral("客户姓名不能为空")});
                EXPECT_TRUE(rows(shop.db(), select).isEmpty());
            }
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        if (a.blankNameRefused)
            EXPECT_TRUE(rows(shop.db(), select).isEmpty());
        else
            EXPECT_EQ(rows(shop.db(), select), QStringList{QStringLiteral("   ||||0|")});
        h.msgs.clear();

        h.modal.on(s(a.editor), [&](QDialog &d) {
            edit(d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("华联"));
            edit(d, QStringLiteral("DBEdit2"))->setText(QStringLiteral("王经理"));
            edit(d, QStringLiteral("DBEdit3"))->setText(QStringLiteral("0571-1234"));
            edit(d, QStringLiteral("DBEdit4"))->setText(QStringLiteral("杭州"));
            edit(d, QStringLiteral("DBEdit5"))->setText(QStringLiteral("1500"));
            child<QPlainTextEdit>(&d, QStringLiteral("DBMemo1"))->setPlainText(QStringLiteral("月结\n老客户"));
            EXPECT_TRUE(labelShown(d, QStringLiteral("客户备注")));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
            EXPECT_FALSE(d.isVisible());
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        EXPECT_TRUE(rows(shop.db(), select).contains(QStringLiteral("华联|王经理|0571-1234|杭州|1500|月结\n老客户")));

        // 修改 hides the balance and leaves it as it is.
        h.modal.on(s(a.editor), [&](QDialog &d) {
            EXPECT_EQ(edit(d, QStringLiteral("DBEdit1"))->text(), QStringLiteral("华联"));
            EXPECT_FALSE(edit(d, QStringLiteral("DBEdit5"))->isVisible());
            EXPECT_FALSE(labelShown(d, s(a.balanceLabel)));
            EXPECT_FALSE(labelShown(d, s(a.hint)));
            edit(d, QStringLiteral("DBEdit2"))->setText(QStringLiteral("李经理"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button2")));
        EXPECT_TRUE(rows(shop.db(), select).contains(QStringLiteral("华联|李经理|0571-1234|杭州|1500|月结\n老客户")));

        // A partner who still owes money is deleted after the confirmation.
        const int before = rows(shop.db(), select).size();
        h.msgs.answers = {true};
        ASSERT_TRUE(click(&w, QStringLiteral("Button3")));
        EXPECT_EQ(h.msgs.questions, QStringList{QStringLiteral("确实要删除吗？")});
        EXPECT_EQ(rows(shop.db(), select).size(), before - 1);
        EXPECT_FALSE(rows(shop.db(), select).join(u';').contains(QStringLiteral("华联")));
    });
}

INSTANTIATE_TEST_SUITE_P(Partners, AccountWindows, ::testing::ValuesIn(kAccounts),
                         [](const ::testing::TestParamInfo<Account> &i) { return std::string(i.param.blankNameRefused ? "Customer" : "Supplier"); });

namespace {

struct NumericField {
    const char *list, *editor, *control, *label, *table, *column;
};

const NumericField kNumericFields[] = {
    {"TFkehu_leixing_list", "TFkehu_leixing_add", "DBEdit2", "折扣率", "客户类型", "折扣率"},
    {"TFpifa_kehu_list", "TFpifa_kehu_add", "DBEdit5", "期初应收", "批发客户资料", "我方应收金额"},
    {"TFgonghuoshang_list", "TFgonghuoshang_add", "DBEdit5", "期初应付", "供货商", "我方应付金额"},
};

class NumericFields : public CustomerWindows, public ::testing::WithParamInterface<NumericField> {};

} // namespace

TEST_P(NumericFields, TextIsRefusedAndTheEditorKeepsIt)
{
    const NumericField f = GetParam();
    withList(s(f.list), [&](QDialog &w) {
        h.modal.on(s(f.editor), [&](QDialog &d) {
            edit(d, QStringLiteral("DBEdit1"))->setText(QStringLiteral("甲"));
            for (const QString &typed : {QStringLiteral("八五折"), QStringLiteral("1,500"), QStringLiteral("12abc")}) {
                h.msgs.clear();
                edit(d, s(f.control))->setText(typed);
                ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
                EXPECT_EQ(h.msgs.errors, QStringList{s(f.label) + QStringLiteral("必须是数字！")}) << typed.toStdString();
                EXPECT_TRUE(d.isVisible());
                EXPECT_EQ(edit(d, s(f.control))->text(), typed);
                EXPECT_TRUE(rows(shop.db(), QStringLiteral("select * from ") + s(f.table)).isEmpty());
            }
            edit(d, s(f.control))->setText(QStringLiteral("9.5"));
            ASSERT_TRUE(click(&d, QStringLiteral("Button1")));
            EXPECT_FALSE(d.isVisible());
        });
        ASSERT_TRUE(click(&w, QStringLiteral("Button1")));
        EXPECT_EQ(rows(shop.db(), QStringLiteral("select %1 from %2").arg(s(f.column), s(f.table))), QStringList{QStringLiteral("9.5")});
    });
}

INSTANTIATE_TEST_SUITE_P(Editors, NumericFields, ::testing::ValuesIn(kNumericFields),
                         [](const ::testing::TestParamInfo<NumericField> &i) { return std::string(i.param.control) + "_" + std::to_string(i.index); });
