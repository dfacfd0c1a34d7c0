#include "masterdata/Lookups.h"
#include "support/TestShop.h"
#include "test_barcode_fixture.h"

#include <gtest/gtest.h>

using namespace barcodefixture;

class Lookups : public ::testing::TestWithParam<Engine> {};

TEST_P(Lookups, SizesInSortOrderColoursInInsertionOrder)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    Query q(db);
    q.prepare(QStringLiteral("insert into 商品尺码 (尺码规则,尺码,排序编号) values (:r,:s,:n)"));
    // Equal sort numbers keep the order of adding; another rule's sizes stay out.
    const std::vector<std::tuple<QString, QString, int>> sizes = {
        {QStringLiteral("上衣"), QStringLiteral("XL"), 4}, {QStringLiteral("上衣"), QStringLiteral("S"), 1},
        {QStringLiteral("裤子"), QStringLiteral("30"), 1}, {QStringLiteral("上衣"), QStringLiteral("M"), 2},
        {QStringLiteral("上衣"), QStringLiteral("L"), 2}};
    for (const auto &[r, s, n] : sizes)
        q.bind(QStringLiteral("r"), r).bind(QStringLiteral("s"), s).bind(QStringLiteral("n"), n).exec();
    EXPECT_EQ(SizesOfRule(db, QStringLiteral("上衣")),
              (QStringList{QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"), QStringLiteral("XL")}));

    addColours(db, QStringLiteral("基本色"), {QStringLiteral("黑"), QStringLiteral("白")});
    addColours(db, QStringLiteral("春季"), {QStringLiteral("粉")});
    q.prepare(QStringLiteral("insert into 颜色列表 (颜色组,颜色) values (:g,:c)"));
    q.bind(QStringLiteral("g"), QStringLiteral("基本色")).bind(QStringLiteral("c"), QStringLiteral("灰")).exec();
    EXPECT_EQ(ColoursOfGroup(db, QStringLiteral("基本色")),
              (QStringList{QStringLiteral("黑"), QStringLiteral("白"), QStringLiteral("灰")}));

    EXPECT_TRUE(SizesOfRule(db, QStringLiteral("没有的规则")).isEmpty());
    EXPECT_TRUE(ColoursOfGroup(db, QString()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, Lookups, ::testing::ValuesIn(testEngines()), EngineParamName());
