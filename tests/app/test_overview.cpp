#include "StockFixture.h"

#include "app/StockOverview.h"
#include "support/TestShop.h"

#include <gtest/gtest.h>

class OverviewOnEngines : public ::testing::TestWithParam<Engine> {};

namespace {

struct Shop {
    qint64 shirt = 0, coat = 0, bare = 0;
};

// Two warehouses, a shirt in both, a coat whose 货号 holds a quote, and an article
// whose size rule has no sizes.
Shop fill(Database &db)
{
    using namespace fixture;
    Shop s;
    addWarehouse(db, QStringLiteral("总仓"));
    addWarehouse(db, QStringLiteral("门店"));
    addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")});
    addSizes(db, QStringLiteral("空规则"), {});
    addColours(db, QStringLiteral("基本色"), {QStringLiteral("红"), QStringLiteral("黑")});
    s.shirt = addArticle(db, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("上衣"), QStringLiteral("基本色"));
    s.coat = addArticle(db, QStringLiteral("风衣"), QStringLiteral("O'Neil-7"), QStringLiteral("上衣"), QStringLiteral("基本色"));
    s.bare = addArticle(db, QStringLiteral("围巾"), QStringLiteral("WJ-1"), QStringLiteral("空规则"), QStringLiteral("基本色"));
    addStock(db, s.shirt, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("总仓"), QStringLiteral("M"), QStringLiteral("红"), 5);
    addStock(db, s.shirt, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("总仓"), QStringLiteral("L"), QStringLiteral("黑"), 2);
    addStock(db, s.shirt, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("门店"), QStringLiteral("M"), QStringLiteral("红"), 3);
    // A size that is no longer part of the rule is not shown.
    addStock(db, s.shirt, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("门店"), QStringLiteral("XXL"), QStringLiteral("红"), 9);
    addStock(db, s.coat, QStringLiteral("风衣"), QStringLiteral("O'Neil-7"), QStringLiteral("门店"), QStringLiteral("S"), QStringLiteral("黑"), 1);
    addStock(db, s.bare, QStringLiteral("围巾"), QStringLiteral("WJ-1"), QStringLiteral("总仓"), QStringLiteral("均码"), QStringLiteral("红"), 4);
    return s;
}

// Rows of a statement as "商品编码:数量" (mode one) or the given columns.
QStringList rows(Database &db, const overview::Statement &st, const QStringList &columns)
{
    Query q(db);
    q.prepare(st.sql);
    for (auto it = st.params.constBegin(); it != st.params.constEnd(); ++it) q.bind(it.key(), it.value());
    q.exec();
    QStringList out;
    while (q.next()) {
        QStringList cells;
        for (const QString &c : columns) {
            const QVariant v = q.value(c);
            cells << (c == QStringLiteral("数量") || c == QStringLiteral("商品编码") ? Money::fromVariant(v).toString()
                                                                                  : v.toString());
        }
        out << cells.join(u':');
    }
    return out;
}

} // namespace

TEST_P(OverviewOnEngines, BothModesFollowWarehouseAndArticleNumber)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const Shop s = fill(db);
    const QStringList one = {QStringLiteral("商品编码"), QStringLiteral("货号"), QStringLiteral("数量")};
    const auto id = [](qint64 v) { return QString::number(v); };

    overview::Filter all{QString::fromUtf8(overview::kAllWarehouses), QString()};
    EXPECT_EQ(rows(db, overview::modeOne(all), one),
              (QStringList{id(s.shirt) + ":CS-01:19", id(s.coat) + ":O'Neil-7:1", id(s.bare) + ":WJ-1:4"}));
    EXPECT_EQ(overview::modeTwoSum(db, all), QStringLiteral("24"));
    EXPECT_EQ(rows(db, overview::modeTwo(all), {QStringLiteral("商品编码")}).size(), 6);

    overview::Filter shopFloor{QStringLiteral("门店"), QString()};
    EXPECT_EQ(rows(db, overview::modeOne(shopFloor), one),
              (QStringList{id(s.shirt) + ":CS-01:12", id(s.coat) + ":O'Neil-7:1"}));
    EXPECT_EQ(rows(db, overview::modeTwo(shopFloor), {QStringLiteral("库房名称")}),
              (QStringList(3, QStringLiteral("门店"))));
    EXPECT_EQ(overview::modeTwoSum(db, shopFloor), QStringLiteral("13"));

    // The typed article number is a bound value: a quote is just a character.
    overview::Filter quoted{QString::fromUtf8(overview::kAllWarehouses), QStringLiteral("'Nei")};
    EXPECT_EQ(rows(db, overview::modeOne(quoted), one), QStringList{id(s.coat) + ":O'Neil-7:1"});
    EXPECT_EQ(overview::modeTwoSum(db, quoted), QStringLiteral("1"));
    overview::Filter injection{QStringLiteral("门店' or '1'='1"), QString()};
    EXPECT_TRUE(rows(db, overview::modeOne(injection), one).isEmpty());
    EXPECT_EQ(overview::modeTwoSum(db, injection), QStringLiteral("0"));

    overview::Filter exact{QStringLiteral("总仓"), QStringLiteral("S-0")};
    EXPECT_EQ(rows(db, overview::modeOne(exact), one), QStringList{id(s.shirt) + ":CS-01:7"});

    EXPECT_EQ(overview::warehouses(db), (QStringList{QStringLiteral("总仓"), QStringLiteral("门店")}));
}

TEST_P(OverviewOnEngines, BreakdownBySizeAndColour)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const Shop s = fill(db);
    const auto row = [](const SizeColourGrid &g, int colour) {
        QStringList cells;
        for (int size = 0; size < g.sizeCount(); ++size) cells << g.cell(size, colour);
        return cells;
    };

    const SizeColourGrid all = overview::breakdown(db, s.shirt, {QString::fromUtf8(overview::kAllWarehouses), {}});
    EXPECT_EQ(all.sizes(), (QStringList{QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")}));
    EXPECT_EQ(all.colours(), (QStringList{QStringLiteral("红"), QStringLiteral("黑")}));
    EXPECT_EQ(row(all, 0), (QStringList{QString(), QStringLiteral("8"), QString()}));   // XXL not shown
    EXPECT_EQ(row(all, 1), (QStringList{QString(), QString(), QStringLiteral("2")}));
    EXPECT_EQ(all.total()->toString(), QStringLiteral("10"));

    const SizeColourGrid store = overview::breakdown(db, s.shirt, {QStringLiteral("门店"), {}});
    EXPECT_EQ(row(store, 0), (QStringList{QString(), QStringLiteral("3"), QString()}));
    EXPECT_EQ(row(store, 1), (QStringList{QString(), QString(), QString()}));

    const SizeColourGrid bare = overview::breakdown(db, s.bare, {});
    EXPECT_TRUE(bare.sizes().isEmpty());
    EXPECT_EQ(bare.colourCount(), 2);
    EXPECT_TRUE(bare.hasNoCells());
}

TEST_P(OverviewOnEngines, ModeTwoListsSizesInTheRulesOrderAndColoursInTheGroupsOrder)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    using namespace fixture;
    addWarehouse(db, QStringLiteral("总仓"));
    addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"), QStringLiteral("XL")});
    addColours(db, QStringLiteral("基本色"), {QStringLiteral("黑"), QStringLiteral("白")});
    const qint64 shirt = addArticle(db, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("上衣"),
                                    QStringLiteral("基本色"));
    // Stored in an order that is neither the rule's nor the alphabet's; XXL is not
    // in the rule and comes after the rule's sizes.
    for (const char *size : {"XXL", "L", "XL", "S", "M"})
        for (const char *colour : {"白", "黑"})
            addStock(db, shirt, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("总仓"),
                     QString::fromUtf8(size), QString::fromUtf8(colour), 1);
    QStringList expected;
    for (const char *size : {"S", "M", "L", "XL", "XXL"})
        for (const char *colour : {"黑", "白"}) expected << QString::fromUtf8(size) + u':' + QString::fromUtf8(colour);
    EXPECT_EQ(rows(db, overview::modeTwo({}), {QStringLiteral("商品尺码"), QStringLiteral("颜色")}), expected);
}

TEST_P(OverviewOnEngines, BothModesArriveAPageAtATimeInTheirFullOrder)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    using namespace fixture;
    // More articles and size rows than two pages hold.
    const int articles = overview::PagedRows::kPageSize + 30;
    {
        Transaction tx(db);
        addWarehouse(db, QStringLiteral("总仓"));
        addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M")});
        addColours(db, QStringLiteral("基本色"), {QStringLiteral("红")});
        for (int i = 0; i < articles; ++i) {
            const QString no = QStringLiteral("H%1").arg(i, 3, 10, QChar(u'0'));
            const qint64 a = addArticle(db, QStringLiteral("衬衫"), no, QStringLiteral("上衣"), QStringLiteral("基本色"));
            addStock(db, a, QStringLiteral("衬衫"), no, QStringLiteral("总仓"), QStringLiteral("M"), QStringLiteral("红"), i);
            addStock(db, a, QStringLiteral("衬衫"), no, QStringLiteral("总仓"), QStringLiteral("S"), QStringLiteral("红"), 1);
        }
        tx.commit();
    }
    const overview::Filter all{QString::fromUtf8(overview::kAllWarehouses), QString()};
    const struct {
        const char *name;
        overview::Statement st;
        const char *table;
        QStringList columns;
        int total;
    } cases[] = {
        {"mode one", overview::modeOne(all), "库存总表", {QStringLiteral("商品编码"), QStringLiteral("数量")}, articles},
        {"mode two", overview::modeTwo(all), "库存尺码表", {QStringLiteral("id"), QStringLiteral("商品尺码")}, 2 * articles},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        overview::PagedRows paged(db, QString::fromUtf8(c.table));
        paged.load(c.st);
        EXPECT_EQ(paged.rowCount(), overview::PagedRows::kPageSize);   // one page, not the table
        EXPECT_TRUE(paged.canFetchMore());
        paged.fetchMore();
        EXPECT_EQ(paged.rowCount(), qMin(c.total, 2 * overview::PagedRows::kPageSize));
        EXPECT_FALSE(paged.fetchUpTo(c.total));
        EXPECT_EQ(paged.rowCount(), c.total);
        EXPECT_FALSE(paged.canFetchMore());
        // Page after page gives the whole result once, in the statement's order.
        QStringList shown;
        for (int r = 0; r < paged.rowCount(); ++r) {
            QStringList cells;
            for (const QString &col : c.columns) cells << paged.data(paged.index(r, paged.columnIndex(col))).toString();
            shown << cells.join(u':');
        }
        EXPECT_EQ(shown, rows(db, c.st, c.columns));
    }
    // The footer is one sum over every row, not over the rows fetched.
    EXPECT_EQ(overview::modeTwoSum(db, all), QString::number((articles - 1) * articles / 2 + articles));

    // An empty result still knows its columns.
    overview::PagedRows none(db, QStringLiteral("库存总表"));
    none.load(overview::modeOne({QStringLiteral("没有的仓库"), QString()}));
    EXPECT_EQ(none.rowCount(), 0);
    EXPECT_GE(none.columnIndex(QStringLiteral("商品编码")), 0);
    EXPECT_FALSE(none.canFetchMore());
}

TEST_P(OverviewOnEngines, TodaysTakingsCountEachSaleOnceAndShowZeroWithoutSales)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const QDate day(2026, 3, 14);

    overview::Takings none = overview::takings(db, day);
    EXPECT_EQ(none.pieces, QStringLiteral("0"));
    EXPECT_EQ(none.discounted.toString(), QStringLiteral("0"));
    EXPECT_EQ(none.card.toString(), QStringLiteral("0"));

    // At midnight opening the day, during it, at midnight closing it (the next day's).
    fixture::addSale(db, QDateTime(day, QTime(0, 0)), 1, QStringLiteral("10.5"), QStringLiteral("10.5"),
                     QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"));
    fixture::addSale(db, QDateTime(day, QTime(23, 59, 59)), 2, QStringLiteral("200.25"), QStringLiteral("100"),
                     QStringLiteral("50.25"), QStringLiteral("20"), QStringLiteral("30"));
    fixture::addSale(db, QDateTime(day.addDays(1), QTime(0, 0)), 4, QStringLiteral("7"), QStringLiteral("7"),
                     QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"));

    const overview::Takings t = overview::takings(db, day);
    EXPECT_EQ(t.pieces, QStringLiteral("3"));
    EXPECT_EQ(t.discounted.toString(), QStringLiteral("210.75"));
    EXPECT_EQ(t.cash.toString(), QStringLiteral("110.5"));
    EXPECT_EQ(t.account.toString(), QStringLiteral("50.25"));
    EXPECT_EQ(t.voucher.toString(), QStringLiteral("20"));
    EXPECT_EQ(t.card.toString(), QStringLiteral("30"));

    const overview::Takings next = overview::takings(db, day.addDays(1));
    EXPECT_EQ(next.pieces, QStringLiteral("4"));
    EXPECT_EQ(next.discounted.toString(), QStringLiteral("7"));
    const overview::Takings before = overview::takings(db, day.addDays(-1));
    EXPECT_EQ(before.pieces, QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(Engines, OverviewOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());
