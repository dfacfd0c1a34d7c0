#include "app/StockFixture.h"
#include "masterdata/ui/Utiaoma_guanli.h"
#include "stock/SizeColourGrid.h"
#include "support/Harness.h"
#include "support/TestShop.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#include <gtest/gtest.h>

class GridOrderOnEngines : public ::testing::TestWithParam<Engine> {};

namespace {

void addBarcode(Database &db, qint64 article, const QString &size, const QString &colour)
{
    fixture::exec(db, QStringLiteral("insert into 商品条码表 (商品编码,商品货号,颜色,尺码,商品条码) values (:a,'X',:c,:s,:b)"),
                  {{QStringLiteral("a"), article}, {QStringLiteral("c"), colour}, {QStringLiteral("s"), size},
                   {QStringLiteral("b"), QStringLiteral("%1-%2-%3").arg(article).arg(size, colour)}});
}

} // namespace

// The barcode list shows each article's barcodes in its grid's order: sizes as the
// rule orders them (not L, M, S, XL), colours as the group lists them.
TEST_P(GridOrderOnEngines, BarcodeListFollowsTheSizeRuleAndTheColourGroup)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Harness h;
    Database &db = shop.db();
    using namespace fixture;
    addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"), QStringLiteral("XL")});
    addSizes(db, QStringLiteral("裤子"), {QStringLiteral("32"), QStringLiteral("30")});
    addColours(db, QStringLiteral("基本色"), {QStringLiteral("黑"), QStringLiteral("白")});
    const qint64 shirt = addArticle(db, QStringLiteral("衬衫"), QStringLiteral("CS"), QStringLiteral("上衣"), QStringLiteral("基本色"));
    const qint64 jeans = addArticle(db, QStringLiteral("牛仔裤"), QStringLiteral("NZ"), QStringLiteral("裤子"), QStringLiteral("基本色"));
    // Stored out of order; XXL has left the rule and 灰 the group: they come last.
    addBarcode(db, jeans, QStringLiteral("30"), QStringLiteral("黑"));
    for (const char *size : {"XL", "L", "XXL", "M", "S"})
        for (const char *colour : {"灰", "白", "黑"})
            addBarcode(db, shirt, QString::fromUtf8(size), QString::fromUtf8(colour));
    addBarcode(db, jeans, QStringLiteral("32"), QStringLiteral("黑"));

    auto *w = windowAs<TFtiaoma_guanli>(QStringLiteral("TFtiaoma_guanli"));
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(click(w, QStringLiteral("Button5")));   // 返回全部
    RecordList &list = w->ADOQuery2();
    list.fetchAll();
    QStringList shown;
    for (int r = 0; r < list.rowCount(); ++r)
        shown << list.value(r, QStringLiteral("尺码")).toString() + u'/' + list.value(r, QStringLiteral("颜色")).toString();
    QStringList expected;
    for (const char *size : {"S", "M", "L", "XL", "XXL"})
        for (const char *colour : {"黑", "白", "灰"}) expected << QString::fromUtf8(size) + u'/' + QString::fromUtf8(colour);
    expected << QStringLiteral("32/黑") << QStringLiteral("30/黑");
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(h.msgs.errors.isEmpty()) << h.msgs.errors.join(u'\n').toStdString();
    resetWindows();
}

INSTANTIATE_TEST_SUITE_P(Engines, GridOrderOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());
