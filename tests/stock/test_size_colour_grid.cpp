#include "stock/SizeColourGrid.h"

#include "app/StockFixture.h"
#include "support/TestShop.h"

#include <gtest/gtest.h>

namespace {

const QStringList kSizes = {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")};
const QStringList kColours = {QStringLiteral("红"), QStringLiteral("黑")};

// The grid's cells row by row (colour), "|" between cells.
QStringList rows(const SizeColourGrid &g)
{
    QStringList out;
    for (int c = 0; c < g.colourCount(); ++c) {
        QStringList cells;
        for (int s = 0; s < g.sizeCount(); ++s) cells << g.cell(s, c);
        out << cells.join(u'|');
    }
    return out;
}

QString text(const std::optional<Money> &m) { return m ? m->toString() : QStringLiteral("-"); }

} // namespace

TEST(SizeColourGrid, PlacesAtTheFirstMatchingColumnAndRowAndLeavesTheUnmatchedOut)
{
    struct Place { const char *size, *colour, *text; bool shown; };
    const struct {
        const char *name;
        QStringList sizes, colours;
        std::vector<Place> places;
        QStringList expected;
    } cases[] = {
        {"plain", kSizes, kColours,
         {{"M", "红", "5", true}, {"L", "黑", "2", true}},
         {QStringLiteral("|5|"), QStringLiteral("||2")}},
        {"a later place replaces the cell", kSizes, kColours,
         {{"S", "红", "1", true}, {"S", "红", "7", true}},
         {QStringLiteral("7||"), QStringLiteral("||")}},
        {"unmatched size or colour is not shown", kSizes, kColours,
         {{"XXL", "红", "9", false}, {"M", "白", "3", false}, {"m", "红", "4", false}, {"", "", "1", false}},
         {QStringLiteral("||"), QStringLiteral("||")}},
        {"a repeated size or colour takes the first column and row",
         {QStringLiteral("M"), QStringLiteral("L"), QStringLiteral("M")},
         {QStringLiteral("红"), QStringLiteral("红")},
         {{"M", "红", "6", true}},
         {QStringLiteral("6||"), QStringLiteral("||")}},
        {"an empty size label is a size like any other", {QString(), QStringLiteral("M")}, kColours,
         {{"", "黑", "4", true}},
         {QStringLiteral("|"), QStringLiteral("4|")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SizeColourGrid g(c.sizes, c.colours);
        for (const Place &p : c.places)
            EXPECT_EQ(g.place(QString::fromUtf8(p.size), QString::fromUtf8(p.colour), QString::fromUtf8(p.text)), p.shown)
                << p.size << "/" << p.colour;
        EXPECT_EQ(rows(g), c.expected);
    }
}

TEST(SizeColourGrid, GridsWithoutCells)
{
    const struct { const char *name; QStringList sizes, colours; } cases[] = {
        {"no sizes", {}, kColours},
        {"no colours", kSizes, {}},
        {"nothing", {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SizeColourGrid g(c.sizes, c.colours);
        EXPECT_TRUE(g.hasNoCells());
        EXPECT_FALSE(g.place(QStringLiteral("M"), QStringLiteral("红"), Money::fromInt(1)));
        EXPECT_EQ(g.cell(0, 0), QString());
        g.setCell(0, 0, QStringLiteral("5"));   // out of range: ignored
        EXPECT_EQ(text(g.total()), QStringLiteral("0"));
        EXPECT_FALSE(g.firstBadCell());
        EXPECT_TRUE(g.filledCells().empty());
    }
    EXPECT_FALSE(SizeColourGrid(kSizes, kColours).hasNoCells());
}

TEST(SizeColourGrid, TotalsAreExactAndABadCellIsReportedNotCountedAsZero)
{
    SizeColourGrid g(kSizes, kColours);
    EXPECT_EQ(text(g.total()), QStringLiteral("0"));   // untouched: every cell empty
    g.place(QStringLiteral("S"), QStringLiteral("红"), QStringLiteral("0.1"));
    g.place(QStringLiteral("M"), QStringLiteral("红"), QStringLiteral("0.2"));
    g.place(QStringLiteral("M"), QStringLiteral("黑"), QStringLiteral(" 3 "));
    g.place(QStringLiteral("L"), QStringLiteral("黑"), QStringLiteral("-1"));
    EXPECT_EQ(text(g.colourTotal(0)), QStringLiteral("0.3"));
    EXPECT_EQ(text(g.colourTotal(1)), QStringLiteral("2"));
    EXPECT_EQ(text(g.sizeTotal(0)), QStringLiteral("0.1"));
    EXPECT_EQ(text(g.sizeTotal(1)), QStringLiteral("3.2"));
    EXPECT_EQ(text(g.sizeTotal(2)), QStringLiteral("-1"));
    EXPECT_EQ(text(g.total()), QStringLiteral("2.3"));
    EXPECT_FALSE(g.firstBadCell());

    // Two bad cells: the first in writing order (size by size) is M/黑 before L/红.
    g.setCell(2, 0, QStringLiteral("两件"));
    g.setCell(1, 1, QStringLiteral("3x"));
    const auto bad = g.firstBadCell();
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->size, 1);
    EXPECT_EQ(bad->colour, 1);
    EXPECT_EQ(bad->sizeName, QStringLiteral("M"));
    EXPECT_EQ(bad->colourName, QStringLiteral("黑"));
    EXPECT_EQ(bad->text, QStringLiteral("3x"));
    EXPECT_FALSE(g.total());
    EXPECT_FALSE(g.colourTotal(0));            // holds 两件
    EXPECT_FALSE(g.colourTotal(1));            // holds 3x
    EXPECT_EQ(text(g.sizeTotal(0)), QStringLiteral("0.1"));   // untouched column still adds up
    EXPECT_FALSE(g.sizeTotal(1));
    EXPECT_FALSE(g.quantity(1, 1));
    EXPECT_EQ(text(g.quantity(0, 1)), QStringLiteral("0"));  // empty reads as 0

    g.clearCells();
    EXPECT_EQ(rows(g), (QStringList{QStringLiteral("||"), QStringLiteral("||")}));
    EXPECT_EQ(text(g.total()), QStringLiteral("0"));
}

TEST(SizeColourGrid, FilledCellsComeSizeBySizeAndSkipOnlyEmptyAndZero)
{
    SizeColourGrid g(kSizes, kColours);
    g.setCell(0, 1, QStringLiteral("2"));
    g.setCell(1, 0, QStringLiteral("0"));    // skipped
    g.setCell(1, 1, QStringLiteral("00"));   // not the text "0": kept
    g.setCell(2, 0, QStringLiteral("0 "));   // kept as well
    g.setCell(0, 0, QStringLiteral("1"));
    QStringList seen;
    for (const SizeColourGrid::Entry &e : g.filledCells()) seen << e.sizeName + u'/' + e.colourName + u'=' + e.text;
    EXPECT_EQ(seen, (QStringList{QStringLiteral("S/红=1"), QStringLiteral("S/黑=2"), QStringLiteral("M/黑=00"),
                                 QStringLiteral("L/红=0 ")}));
}

class SizeColourGridOnEngines : public ::testing::TestWithParam<Engine> {};

TEST_P(SizeColourGridOnEngines, BuiltForAnArticleFromItsRuleAndGroup)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    using namespace fixture;
    // Inserted in reverse: the columns follow 排序编号, not the order of adding.
    addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"), QStringLiteral("XL")});
    addSizes(db, QStringLiteral("空规则"), {});
    addColours(db, QStringLiteral("基本色"), {QStringLiteral("黑"), QStringLiteral("白"), QStringLiteral("灰")});
    const qint64 shirt = addArticle(db, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("上衣"),
                                    QStringLiteral("基本色"));
    const qint64 bare = addArticle(db, QStringLiteral("围巾"), QStringLiteral("WJ-1"), QStringLiteral("空规则"),
                                   QStringLiteral("基本色"));

    const SizeColourGrid g = SizeColourGrid::forArticle(db, shirt);
    EXPECT_EQ(g.sizes(), (QStringList{QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"), QStringLiteral("XL")}));
    EXPECT_EQ(g.colours(), (QStringList{QStringLiteral("黑"), QStringLiteral("白"), QStringLiteral("灰")}));
    EXPECT_EQ(rows(g), QStringList(3, QStringLiteral("|||")));

    const SizeColourGrid b = SizeColourGrid::forArticle(db, bare);
    EXPECT_TRUE(b.sizes().isEmpty());
    EXPECT_EQ(b.colourCount(), 3);
    EXPECT_TRUE(b.hasNoCells());

    EXPECT_EQ(SizeColourGrid::forArticle(db, shirt + 1000), SizeColourGrid());
}

INSTANTIATE_TEST_SUITE_P(Engines, SizeColourGridOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());
