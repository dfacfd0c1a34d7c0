// Several workstations posting at the same moment, and one killed in the middle of a
// posting: numbers never repeat, no movement is lost, no document is left half-written.
#include "stock/DocumentNumbers.h"
#include "stock/StockLedger.h"
#include "support/TestShop.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

QString probePath() { return QStringLiteral(QV_BIN_DIR "/qv_post_probe"); }

QStringList target(TestShop &shop)
{
    if (shop.engine() == Engine::SQLite)
        return {QStringLiteral("sqlite"), shop.file(QStringLiteral("data.mdb"))};
    const PgParams server = TestShop::pgServer();
    return {QStringLiteral("pg"), server.server, server.user, shop.pgDatabase()};
}

qint64 addArticle(Database &db)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 商品列表 (商品名称,货号,数量) values ('探针','P1',0) returning id"));
    return q.execReturningKey();
}

qint64 number(Database &db, const QString &sql, qint64 article = 0)
{
    Query q(db);
    q.prepare(sql);
    if (sql.contains(QStringLiteral(":a"))) q.bind(QStringLiteral("a"), article);
    q.exec();
    return q.next() ? q.integer(QStringLiteral("v")) : -1;
}

} // namespace

class ConcurrentPosting : public ::testing::TestWithParam<Engine> {};

TEST_P(ConcurrentPosting, FourWorkstationsPostingAtOnceRepeatNoNumberAndLoseNoMovement)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const qint64 article = addArticle(db);
    const int workers = 4, docs = 200;   // per worker: 100 receipts of 2 pieces, 100 sales of 1

    std::vector<std::unique_ptr<QProcess>> procs;
    for (int i = 0; i < workers; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(probePath(), target(shop) << QString::number(docs) << QString::number(article));
        ASSERT_TRUE(p->waitForStarted(10000));
        procs.push_back(std::move(p));
    }
    for (auto &p : procs) {
        ASSERT_TRUE(p->waitForFinished(300000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAll().toStdString();
    }

    const qint64 receipts = workers * docs / 2, sales = workers * docs / 2;
    EXPECT_EQ(number(db, QStringLiteral("select count(distinct 单据编号) as v from 出库入库总表")), receipts);
    EXPECT_EQ(number(db, QStringLiteral("select count(*) as v from 出库入库总表")), receipts);
    EXPECT_EQ(number(db, QStringLiteral("select count(distinct 销售单号) as v from 销售总表")), sales);
    EXPECT_EQ(number(db, QStringLiteral("select count(*) as v from 销售总表")), sales);
    // The day's numbers run from 01 without a gap.
    EXPECT_EQ(number(db, QStringLiteral("select max(length(单据编号)) as v from 出库入库总表")), 13) << "JH + date + 3 digits";

    const qint64 expected = receipts * 2 - sales;
    EXPECT_EQ(number(db, QStringLiteral("select 数量 as v from 商品列表 where id=:a"), article), expected);
    EXPECT_EQ(number(db, QStringLiteral("select sum(数量) as v from 库存总表 where 商品编码=:a"), article), expected);
    EXPECT_EQ(number(db, QStringLiteral("select sum(数量) as v from 库存尺码表 where 商品编码=:a"), article), expected);
    EXPECT_EQ(number(db, QStringLiteral("select 数量 as v from 库存尺码表 where 商品编码=:a and 商品尺码='S'"), article),
              receipts - sales);
    EXPECT_EQ(number(db, QStringLiteral("select count(*) as v from 库存尺码表 where 商品编码=:a"), article), 2);
}

TEST_P(ConcurrentPosting, AWorkstationKilledInTheMiddleOfAPostingLeavesNoPartOfIt)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const qint64 article = addArticle(db);

    QProcess p;
    p.start(probePath(), target(shop) << QStringLiteral("hold") << QString::number(article));
    ASSERT_TRUE(p.waitForStarted(10000));
    QByteArray out;
    while (!out.contains('\n') && p.waitForReadyRead(30000)) out += p.readAllStandardOutput();
    ASSERT_TRUE(out.startsWith("HOLDING ")) << out.toStdString() << p.readAllStandardError().toStdString();
    const QString held = QString::fromUtf8(out.mid(8).trimmed());
    p.kill();   // SIGKILL: no chance to roll back by itself
    ASSERT_TRUE(p.waitForFinished(10000));

    EXPECT_EQ(number(db, QStringLiteral("select count(*) as v from 出库入库总表")), 0);
    EXPECT_EQ(number(db, QStringLiteral("select 数量 as v from 商品列表 where id=:a"), article), 0);
    EXPECT_EQ(number(db, QStringLiteral("select count(*) as v from 库存总表")), 0);
    EXPECT_EQ(number(db, QStringLiteral("select count(*) as v from 库存尺码表")), 0);

    // The lock died with the process: this workstation posts, and the number is free again.
    Transaction tx(db);
    const DocumentNumber n = NextDocumentNumber(db, DocumentKind::PurchaseReceipt);
    EXPECT_EQ(n.number, held);
    StockLedger(db).AdjustArticleTotal(article, Money::fromInt(1));
    tx.commit();
    EXPECT_EQ(number(db, QStringLiteral("select 数量 as v from 商品列表 where id=:a"), article), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, ConcurrentPosting, ::testing::ValuesIn(testEngines()), EngineParamName());
