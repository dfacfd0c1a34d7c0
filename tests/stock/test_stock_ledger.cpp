#include "stock/StockLedger.h"
#include "support/TestShop.h"

#include <gtest/gtest.h>

namespace {

qint64 addArticle(Database &db, const QString &name)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 商品列表 (商品名称,货号) values (:n,'A1') returning id"));
    return q.bind(QStringLiteral("n"), name).execReturningKey();
}

struct SizeRow {
    bool exists = false;
    QString quantity, name, articleNo, barcode;
};

SizeRow sizeRow(Database &db, qint64 article, const QString &warehouse, const QString &size, const QString &colour)
{
    Query q(db);
    q.prepare(QStringLiteral("select * from 库存尺码表 where 商品编码=:a and 库房名称=:w and 商品尺码=:s and 颜色=:c"));
    q.bind(QStringLiteral("a"), article).bind(QStringLiteral("w"), warehouse).bind(QStringLiteral("s"), size)
        .bind(QStringLiteral("c"), colour).exec();
    SizeRow r;
    if (!q.next()) return r;
    r.exists = true;
    r.quantity = q.money(QStringLiteral("数量")).toString();
    r.name = q.text(QStringLiteral("商品名称"));
    r.articleNo = q.text(QStringLiteral("货号"));
    r.barcode = q.text(QStringLiteral("商品条码"));
    EXPECT_FALSE(q.next()) << "one row per article, warehouse, size and colour";
    return r;
}

QString scalar(Database &db, const QString &sql, qint64 article)
{
    Query q(db);
    q.prepare(sql);
    q.bind(QStringLiteral("a"), article).exec();
    return q.next() ? q.text(QStringLiteral("v")) : QStringLiteral("<none>");
}

} // namespace

class Ledger : public ::testing::TestWithParam<Engine> {};

TEST_P(Ledger, MovementsCreateRowsOnceAndAddUpPerWarehouseSizeAndColour)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const qint64 a = addArticle(db, QStringLiteral("衬衫"));
    const StockDescription receipt{QStringLiteral("衬衫"), QStringLiteral("A1"), QStringLiteral("A1MR")};
    {
        Transaction tx(db);
        StockLedger ledger(db);
        EXPECT_TRUE(ledger.AdjustArticleTotal(a, Money::fromInt(5)));
        ledger.AdjustWarehouseStock(a, QStringLiteral("东仓"), Money::fromInt(5), receipt);
        ledger.AdjustSizeStock(a, QStringLiteral("东仓"), QStringLiteral("M"), QStringLiteral("红"), Money::fromInt(3), receipt);
        ledger.AdjustSizeStock(a, QStringLiteral("东仓"), QStringLiteral("L"), QStringLiteral("红"), Money::fromInt(2), receipt);
        // The same size and colour in another warehouse is a row of its own.
        ledger.AdjustWarehouseStock(a, QStringLiteral("西仓"), Money::fromInt(1), receipt);
        ledger.AdjustSizeStock(a, QStringLiteral("西仓"), QStringLiteral("M"), QStringLiteral("红"), Money::fromInt(1), receipt);
        // A second movement of a row adds to it.
        ledger.AdjustSizeStock(a, QStringLiteral("东仓"), QStringLiteral("M"), QStringLiteral("红"), Money::fromInt(4), receipt);
        // A stock-out of a size that has no row creates it with a negative quantity.
        ledger.AdjustSizeStock(a, QStringLiteral("东仓"), QStringLiteral("S"), QStringLiteral("蓝"), Money::fromInt(-2),
                               StockDescription{QStringLiteral("衬衫"), std::nullopt, std::nullopt});
        // A line of quantity 0 still creates its warehouse row.
        ledger.AdjustWarehouseStock(a, QStringLiteral("南仓"), Money(), receipt);
        EXPECT_FALSE(ledger.AdjustArticleTotal(a + 1000, Money::fromInt(1))) << "no such article";
        tx.commit();
    }
    EXPECT_EQ(scalar(db, QStringLiteral("select 数量 as v from 商品列表 where id=:a"), a), QStringLiteral("5"));
    EXPECT_EQ(scalar(db, QStringLiteral("select 数量 as v from 库存总表 where 商品编码=:a and 库房名称='东仓'"), a), QStringLiteral("5"));
    EXPECT_EQ(scalar(db, QStringLiteral("select 数量 as v from 库存总表 where 商品编码=:a and 库房名称='南仓'"), a), QStringLiteral("0"));
    EXPECT_EQ(scalar(db, QStringLiteral("select 商品名称 as v from 库存总表 where 商品编码=:a and 库房名称='东仓'"), a), QStringLiteral("衬衫"));

    const SizeRow m = sizeRow(db, a, QStringLiteral("东仓"), QStringLiteral("M"), QStringLiteral("红"));
    EXPECT_EQ(m.quantity, QStringLiteral("7"));
    EXPECT_EQ(m.barcode, QStringLiteral("A1MR"));
    EXPECT_EQ(sizeRow(db, a, QStringLiteral("西仓"), QStringLiteral("M"), QStringLiteral("红")).quantity, QStringLiteral("1"));
    const SizeRow s = sizeRow(db, a, QStringLiteral("东仓"), QStringLiteral("S"), QStringLiteral("蓝"));
    EXPECT_EQ(s.quantity, QStringLiteral("-2"));
    EXPECT_EQ(s.name, QStringLiteral("衬衫"));
    EXPECT_EQ(s.articleNo, QString()) << "a return's new row gets only what the kind supplies";
}

TEST_P(Ledger, ASaleRewritesDescriptionsButNeverBlanksABarcode)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const qint64 a = addArticle(db, QStringLiteral("旧名"));
    const QString w = QStringLiteral("总仓");
    Transaction tx(db);
    StockLedger ledger(db);
    ledger.AdjustSizeStock(a, w, QStringLiteral("M"), QStringLiteral("红"), Money::fromInt(10),
                           {QStringLiteral("旧名"), QStringLiteral("OLD"), QStringLiteral("CODE1")});
    // A sale of fractional quantity (sales carry four decimals) without a barcode on its line.
    const StockDescription line{QStringLiteral("新名"), QStringLiteral("NEW"), QString()};
    ledger.AdjustSizeStock(a, w, QStringLiteral("M"), QStringLiteral("红"), -*Money::parse(QStringLiteral("1.5")), line, line);
    SizeRow r = sizeRow(db, a, w, QStringLiteral("M"), QStringLiteral("红"));
    EXPECT_EQ(r.quantity, QStringLiteral("8.5"));
    EXPECT_EQ(r.name, QStringLiteral("新名"));
    EXPECT_EQ(r.articleNo, QStringLiteral("NEW"));
    EXPECT_EQ(r.barcode, QStringLiteral("CODE1"));
    // A line that has a barcode does replace it; a movement with nothing to rewrite keeps all.
    const StockDescription scanned{std::nullopt, std::nullopt, QStringLiteral("CODE2")};
    ledger.AdjustSizeStock(a, w, QStringLiteral("M"), QStringLiteral("红"), Money::fromInt(-1), {}, scanned);
    ledger.AdjustSizeStock(a, w, QStringLiteral("M"), QStringLiteral("红"), Money::fromInt(1));
    r = sizeRow(db, a, w, QStringLiteral("M"), QStringLiteral("红"));
    EXPECT_EQ(r.quantity, QStringLiteral("8.5"));
    EXPECT_EQ(r.barcode, QStringLiteral("CODE2"));
    EXPECT_EQ(r.name, QStringLiteral("新名"));
    tx.commit();
}

TEST_P(Ledger, MovementsOutsideATransactionAreRefused)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const qint64 a = addArticle(db, QStringLiteral("衬衫"));
    StockLedger ledger(db);
    EXPECT_THROW(ledger.AdjustArticleTotal(a, Money::fromInt(1)), DbError);
    EXPECT_THROW(ledger.AdjustWarehouseStock(a, QStringLiteral("总仓"), Money::fromInt(1)), DbError);
}

INSTANTIATE_TEST_SUITE_P(Engines, Ledger, ::testing::ValuesIn(testEngines()), EngineParamName());
