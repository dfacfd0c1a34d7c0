#include "app/Database.h"
#include "app/Notices.h"
#include "support/TestShop.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

void insertBrand(Database &db, const QString &name)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 品牌 (品牌) values (:n)"));
    q.bind(QStringLiteral("n"), name).exec();
}

qint64 brands(Database &db)
{
    Query q(db);
    q.exec(QStringLiteral("select count(*) as n from 品牌"));
    q.next();
    return q.integer(QStringLiteral("n"));
}

} // namespace

class Transactions : public ::testing::TestWithParam<Engine> {};

TEST_P(Transactions, NestedGuardsCommitOnceAndAnnounceAfterTheOuterCommit)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    QSignalSpy spy(&changeNotices(), &ChangeNotices::changed);
    {
        Transaction outer(db);
        insertBrand(db, QStringLiteral("外层"));
        {
            Transaction inner(db);
            insertBrand(db, QStringLiteral("内层"));
            announceChange(db, ChangeNotices::MasterData, QStringLiteral("品牌"));
            inner.commit();
        }
        EXPECT_TRUE(db.inTransaction()) << "an inner commit must not end the transaction";
        EXPECT_EQ(spy.count(), 0) << "nothing is announced before the outer commit";
        outer.commit();
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(brands(db), 2);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(1).toString(), QStringLiteral("品牌"));
}

TEST_P(Transactions, AnAbandonedInnerGuardRollsBackEverythingAndTheOuterCommitThrows)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    QSignalSpy spy(&changeNotices(), &ChangeNotices::changed);
    {
        Transaction outer(db);
        insertBrand(db, QStringLiteral("之前"));
        announceChange(db, ChangeNotices::MasterData, QStringLiteral("品牌"));
        try {
            Transaction inner(db);
            insertBrand(db, QStringLiteral("内层"));
            throw DbError(QStringLiteral("内层失败"));
        } catch (const DbError &) {
        }
        // Later writes of the outer guard must not slip out on their own.
        insertBrand(db, QStringLiteral("之后"));
        EXPECT_TRUE(db.rollbackOnly());
        EXPECT_THROW(outer.commit(), DbError);
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(brands(db), 0);
    EXPECT_EQ(spy.count(), 0) << "a rolled-back change is never announced";

    // The connection is usable afterwards.
    Transaction again(db);
    insertBrand(db, QStringLiteral("再来"));
    again.commit();
    EXPECT_EQ(brands(db), 1);
}

TEST_P(Transactions, AFailedCommitRollsBackAndLeavesTheConnectionUsable)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    // A deferred foreign key is checked only at COMMIT, so COMMIT itself fails.
    if (db.isSqlite()) db.execute(QStringLiteral("PRAGMA foreign_keys=ON"));
    db.execute(QStringLiteral("create table tp (id integer primary key)"));
    db.execute(QStringLiteral("create table tc (pid integer references tp(id) deferrable initially deferred)"));
    {
        Transaction tx(db);
        insertBrand(db, QStringLiteral("随失败的提交撤销"));
        db.execute(QStringLiteral("insert into tc (pid) values (5)"));
        EXPECT_THROW(tx.commit(), DbError);
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(brands(db), 0);
    Transaction next(db);
    insertBrand(db, QStringLiteral("之后"));
    next.commit();
    EXPECT_EQ(brands(db), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, Transactions, ::testing::ValuesIn(testEngines()), EngineParamName());
