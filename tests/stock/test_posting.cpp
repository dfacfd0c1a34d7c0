#include "stock/Posting.h"
#include "stock/ScratchLines.h"
#include "support/TestShop.h"

#include <gtest/gtest.h>

TEST(PostingInput, AmountsAreReadStrictly)
{
    struct Case { QVariant value; bool emptyIsZero; const char *expect; };   // expect nullptr: refused
    const Case cases[] = {
        {QStringLiteral("12.5"), true, "12.5"},
        {QStringLiteral(" -3 "), true, "-3"},
        {QVariant(7), true, "7"},
        {QVariant::fromValue(Money::fromInt(4)), true, "4"},
        {QString(), true, "0"},
        {QVariant(), true, "0"},
        {QString(), false, nullptr},
        {QStringLiteral("12,5"), true, nullptr},
        {QStringLiteral("abc"), true, nullptr},
        {QStringLiteral("1e3"), true, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        if (c.expect) {
            EXPECT_EQ(requireAmount(c.value, QStringLiteral("金额"), c.emptyIsZero).toString(), QString::fromLatin1(c.expect));
        } else {
            EXPECT_THROW(requireAmount(c.value, QStringLiteral("金额"), c.emptyIsZero), InputError);
        }
    }
    try {
        requireWholeNumber(QStringLiteral("2.5"), QStringLiteral("数量"));
        ADD_FAILURE() << "a fraction is not a whole number";
    } catch (const InputError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("数量必须是整数！"));
    }
    EXPECT_EQ(requireWholeNumber(QStringLiteral("3.0000"), QStringLiteral("数量")), 3);
}

TEST(PostingInput, EntryKeysIncreaseAndStayAboveTheKeysAlreadyInTheScratchTables)
{
    TestShop shop;
    Database &temp = shop.temp();
    // A key from a clock far ahead, left in the scratch tables by an earlier run.
    const qint64 ahead = QDateTime::currentMSecsSinceEpoch() + 100000000;
    Query q(temp);
    q.prepare(QStringLiteral("insert into 入库临时表 (商品编码,临时码) values ('1',:k)"));
    q.bind(QStringLiteral("k"), QString::number(ahead)).exec();
    q.prepare(QStringLiteral("insert into 出库临时表 (商品编码,临时码) values ('1','扫码')"));
    q.exec();
    const QString first = NextEntryKey(temp);
    const QString second = NextEntryKey(temp);
    EXPECT_GT(first.toLongLong(), ahead);
    EXPECT_GT(second.toLongLong(), first.toLongLong());
}

TEST(PostingInput, ScratchLinesAreTypedAndABadValueNamesItsLine)
{
    TestShop shop;
    Database &temp = shop.temp();
    Query q(temp);
    q.prepare(QStringLiteral("insert into 入库临时表 (商品名称,商品编码,临时码,货号,进货单价,金额,数量) "
                             "values (:n,:id,'k1','A1',:p,:m,:q)"));
    q.bind(QStringLiteral("n"), QStringLiteral("衬衫")).bind(QStringLiteral("id"), QStringLiteral("12"))
        .bind(QStringLiteral("p"), QStringLiteral("59.5")).bind(QStringLiteral("m"), QStringLiteral("119"))
        .bind(QStringLiteral("q"), QStringLiteral("2")).exec();
    auto lines = scratch::stockInLines(temp);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].articleId, 12);
    EXPECT_EQ(lines[0].quantity, 2);
    EXPECT_EQ(lines[0].unitPrice.toString(), QStringLiteral("59.5"));
    EXPECT_EQ(lines[0].entryKey, QStringLiteral("k1"));

    // SQLite keeps any text in a numeric column: the reader refuses it instead of reading 0.
    q.bind(QStringLiteral("q"), QStringLiteral("两件")).exec();
    try {
        scratch::stockInLines(temp);
        ADD_FAILURE() << "text in a quantity must be refused";
    } catch (const InputError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("第2行的数量必须是数字！"));
    }
    q.prepare(QStringLiteral("insert into 出库尺码临时表 (商品编码,尺码,颜色,数量,临时码) values (:id,'M','红','1',:k)"));
    q.bind(QStringLiteral("id"), QStringLiteral("7")).bind(QStringLiteral("k"), QStringLiteral("a")).exec();
    q.bind(QStringLiteral("id"), QStringLiteral("8")).bind(QStringLiteral("k"), QStringLiteral("b")).exec();
    q.bind(QStringLiteral("id"), QString()).bind(QStringLiteral("k"), QStringLiteral("c")).exec();
    const auto onlyB = scratch::stockOutSizeLines(temp, QStringLiteral("b"));
    ASSERT_EQ(onlyB.size(), 1u);
    EXPECT_EQ(onlyB[0].articleId, 8);
    EXPECT_THROW(scratch::stockOutSizeLines(temp), InputError) << "a line without its article is refused";
}
