#include "masterdata/BarcodeGenerator.h"
#include "support/TestShop.h"
#include "test_barcode_fixture.h"

#include <gtest/gtest.h>

using namespace barcodefixture;

TEST(BarcodeCompose, OrderFollowsTheFormatAndEmptyCodesGiveNoBarcode)
{
    struct Case { const char16_t *format, *size, *colour, *barcode; };
    const Case cases[] = {
        {u"货号+颜色+尺码", u"3", u"1", u"A0113"},
        {u"", u"3", u"1", u"A0113"},
        {u"其他", u"3", u"1", u"A0113"},
        {u"货号+尺码+颜色", u"3", u"1", u"A0131"},
        {u"货号+尺码+颜色", u"", u"1", u""},
        {u"货号+颜色+尺码", u"3", u"", u""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BarcodeGenerator::compose(QString::fromUtf16(c.format), QStringLiteral("A01"),
                                            QString::fromUtf16(c.size), QString::fromUtf16(c.colour)),
                  QString::fromUtf16(c.barcode))
            << QString::fromUtf16(c.format).toStdString();
}

namespace {

// Two listed articles in both layouts, one with an empty size code and one
// with an empty colour code, and a third article that is not listed.
struct Catalogue {
    qint64 a01, b02, c03;
    explicit Catalogue(Database &db)
    {
        addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")});
        addColours(db, QStringLiteral("基本色"), {QStringLiteral("黑"), QStringLiteral("白"), QStringLiteral("灰")});
        a01 = addArticle(db, QStringLiteral("圆领T恤"), QStringLiteral("A01"), QStringLiteral("上衣"), QStringLiteral("基本色"),
                         QStringLiteral("货号+颜色+尺码"));
        b02 = addArticle(db, QStringLiteral("连帽卫衣"), QStringLiteral("B02"), QStringLiteral("上衣"), QStringLiteral("基本色"),
                         QStringLiteral("货号+尺码+颜色"));
        c03 = addArticle(db, QStringLiteral("牛仔外套"), QStringLiteral("C03"), QStringLiteral("上衣"), QStringLiteral("基本色"), QString());
        setCodes(db, a01, {{QStringLiteral("S"), QStringLiteral("3")}, {QStringLiteral("M"), QString()}, {QStringLiteral("L"), QStringLiteral("5")}},
                 {{QStringLiteral("黑"), QStringLiteral("1")}, {QStringLiteral("白"), QStringLiteral("2")}, {QStringLiteral("灰"), QString()}});
        setCodes(db, b02, {{QStringLiteral("L"), QStringLiteral("9")}, {QStringLiteral("S"), QStringLiteral("7")}},
                 {{QStringLiteral("灰"), QStringLiteral("8")}});
        setCodes(db, c03, {{QStringLiteral("S"), QStringLiteral("1")}}, {{QStringLiteral("黑"), QStringLiteral("1")}});
        // What was there before: a stale barcode of A01 and C03's own barcode.
        addBarcode(db, a01, QStringLiteral("A01"), QStringLiteral("黑"), QStringLiteral("M"), QStringLiteral("A01OLD"));
        addBarcode(db, c03, QStringLiteral("C03"), QStringLiteral("黑"), QStringLiteral("S"), QStringLiteral("C0311"));
    }
    QString row(qint64 id, const char16_t *colour, const char16_t *size, const char16_t *barcode) const
    {
        return QStringLiteral("%1/%2/%3/%4").arg(id).arg(QString::fromUtf16(colour), QString::fromUtf16(size), QString::fromUtf16(barcode));
    }
};

} // namespace

class BarcodeGeneration : public ::testing::TestWithParam<Engine> {};

TEST_P(BarcodeGeneration, RebuildsOnlyTheListedArticlesInVariantOrder)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Catalogue c(shop.db());

    std::vector<std::pair<int, int>> calls;
    BarcodeGenerator gen(shop.db());
    const auto r = gen.generate({c.a01, c.b02}, [&](int done, int total) { calls.emplace_back(done, total); return true; });
    EXPECT_FALSE(r.cancelled);
    EXPECT_EQ(r.articles, 2);
    EXPECT_EQ(r.barcodes, 6);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
    // C03 keeps its barcode (written first); then A01 size by size, colour by
    // colour, and B02 in its own layout, sizes in size order whatever order the
    // codes were stored in.
    EXPECT_EQ(barcodeRows(shop.db()), (QStringList{
        c.row(c.c03, u"黑", u"S", u"C0311"),
        c.row(c.a01, u"黑", u"S", u"A0113"), c.row(c.a01, u"白", u"S", u"A0123"),
        c.row(c.a01, u"黑", u"L", u"A0115"), c.row(c.a01, u"白", u"L", u"A0125"),
        c.row(c.b02, u"灰", u"S", u"B0278"), c.row(c.b02, u"灰", u"L", u"B0298")}));
    Query q(shop.db());
    q.exec(QStringLiteral("select 商品货号 from 商品条码表 where 商品条码='B0298'"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("商品货号")), QStringLiteral("B02"));
}

TEST_P(BarcodeGeneration, ManyVariantsGoThroughBatchesInOrder)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    // 7 sizes x 5 colours = 35 variants: two full batches and a remainder.
    QStringList sizes, colours;
    Codes sizeCodes, colourCodes;
    for (int i = 0; i < 7; ++i) { sizes << QStringLiteral("S%1").arg(i); sizeCodes.emplace_back(sizes.last(), QString::number(i)); }
    for (int i = 0; i < 5; ++i) { colours << QStringLiteral("C%1").arg(i); colourCodes.emplace_back(colours.last(), QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'))); }
    addSizes(db, QStringLiteral("R"), sizes);
    addColours(db, QStringLiteral("G"), colours);
    const qint64 id = addArticle(db, QStringLiteral("款"), QStringLiteral("Z9"), QStringLiteral("R"), QStringLiteral("G"), QString());
    setCodes(db, id, sizeCodes, colourCodes);
    const auto r = BarcodeGenerator(db).generate({id});
    EXPECT_EQ(r.barcodes, 35);
    QStringList expected;
    for (int s = 0; s < 7; ++s)
        for (int k = 0; k < 5; ++k)
            expected << QStringLiteral("%1/C%2/S%3/").arg(id).arg(k).arg(s) + QStringLiteral("Z9%1").arg(k, 2, 10, QChar(u'0')) + QString::number(s);
    EXPECT_EQ(barcodeRows(db), expected);
}

TEST_P(BarcodeGeneration, StoreErrorOrCancelLeavesTheBarcodesAsTheyWere)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Catalogue c(shop.db());
    const QStringList before = barcodeRows(shop.db());

    // The store refuses one of B02's rows, after A01's rows were written.
    if (shop.engine() == Engine::SQLite) {
        shop.db().execute(QStringLiteral("create trigger qv_refuse before insert on 商品条码表 when new.商品条码='B0298' "
                                         "begin select raise(abort, '条码写入失败'); end"));
    } else {
        shop.db().execute(QStringLiteral("create function qv_refuse() returns trigger language plpgsql as $$ begin "
                                         "if new.商品条码 = 'B0298' then raise exception '条码写入失败'; end if; "
                                         "return new; end $$"));
        shop.db().execute(QStringLiteral("create trigger qv_refuse before insert on 商品条码表 for each row "
                                         "execute procedure qv_refuse()"));
    }
    BarcodeGenerator gen(shop.db());
    try {
        gen.generate({c.a01, c.b02});
        ADD_FAILURE() << "the refused row was not reported";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("条码写入失败"))) << e.what();
    }
    EXPECT_EQ(barcodeRows(shop.db()), before);
    EXPECT_FALSE(shop.db().inTransaction());

    // Cancelled after the first article: nothing changes either.
    const auto r = gen.generate({c.a01, c.c03}, [](int done, int) { return done < 1; });
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(barcodeRows(shop.db()), before);
}

INSTANTIATE_TEST_SUITE_P(Engines, BarcodeGeneration, ::testing::ValuesIn(testEngines()), EngineParamName());
