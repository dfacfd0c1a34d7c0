#include "app/Database.h"
#include "app/schema/Schema.h"
#include "support/TestShop.h"

#include <gtest/gtest.h>

TEST(StatementConvention, NamedParametersBecomePositionalOutsideQuotes)
{
    QStringList names;
    const QString sql = Query::rewrite(
        QStringLiteral("select * from 命令表 where 版本号>:版本号1 and 版本号<=:版本号2 and x=':not' and y::text=:版本号1"), &names);
    EXPECT_EQ(sql, QStringLiteral("select * from 命令表 where 版本号>? and 版本号<=? and x=':not' and y::text=?"));
    EXPECT_EQ(names, (QStringList{QStringLiteral("版本号1"), QStringLiteral("版本号2"), QStringLiteral("版本号1")}));
}

class DatabaseOnEngines : public ::testing::TestWithParam<Engine> {};

TEST_P(DatabaseOnEngines, BindsTypedValuesAndReadsThemBack)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    Query q(db);
    q.prepare(QStringLiteral("insert into 商品列表 (商品名称,货号,零售价格,数量) values (:名称,:货号,:价格,:数量)"));
    q.bind(QStringLiteral("名称"), QStringLiteral("男士衬衫"))
        .bind(QStringLiteral("货号"), QStringLiteral("A'01"))
        .bind(QStringLiteral("价格"), QVariant::fromValue(Money::parse(QStringLiteral("178.5")).value()))
        .bind(QStringLiteral("数量"), 0)
        .exec();
    q.prepare(QStringLiteral("select * from 商品列表 where 货号 like :p"));
    q.bind(QStringLiteral("p"), QStringLiteral("%'0%")).exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("商品名称")), QStringLiteral("男士衬衫"));
    EXPECT_EQ(q.money(QStringLiteral("零售价格")).toString(), QStringLiteral("178.5"));
    EXPECT_EQ(q.text(QStringLiteral("零售价格")), QStringLiteral("178.5"));
    EXPECT_FALSE(q.next());
}

TEST_P(DatabaseOnEngines, TransactionRollsBackUnlessCommitted)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    {
        Transaction tx(db);
        Query(db).exec(QStringLiteral("insert into 分店 (分店) values ('一店')"));
    }
    Query q(db);
    q.exec(QStringLiteral("select count(*) as n from 分店"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.integer(QStringLiteral("n")), 0);
}

// The key of a new row is read inside the posting's transaction, and the posting
// still commits while the statement that gave it is alive and used again.
TEST_P(DatabaseOnEngines, KeysReturnedInsideATransactionLetItCommit)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    Query insert(db);
    insert.prepare(QStringLiteral("insert into 分店 (分店) values (:n) returning id"));
    Transaction tx(db);
    const qint64 first = insert.bind(QStringLiteral("n"), QStringLiteral("一店")).execReturningKey();
    const qint64 second = insert.bind(QStringLiteral("n"), QStringLiteral("二店")).execReturningKey();
    EXPECT_GT(second, first);
    EXPECT_NO_THROW(tx.commit());
    Query q(db);
    q.exec(QStringLiteral("select count(*) as n from 分店"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.integer(QStringLiteral("n")), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, DatabaseOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());
