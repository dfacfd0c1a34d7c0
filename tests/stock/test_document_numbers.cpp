#include "stock/DocumentNumbers.h"
#include "support/TestShop.h"

#include <gtest/gtest.h>

namespace {

const QDate kDay(2026, 12, 11);

// Stores a document of the kind with the given numbers, as a posting would.
void store(Database &db, DocumentKind kind, const DocumentNumber &n, const QDate &documentDate = kDay)
{
    Query q(db);
    switch (kind) {
    case DocumentKind::PurchaseReceipt:
    case DocumentKind::PurchaseReturn:
        q.prepare(QStringLiteral("insert into 出库入库总表 (单据编号,货单辅助编号,单据类型,填表日期) values (:n,:a,:t,:d)"));
        q.bind(QStringLiteral("t"), kind == DocumentKind::PurchaseReceipt ? QStringLiteral("采购入库") : QStringLiteral("采购退货"));
        q.bind(QStringLiteral("d"), documentDate);
        break;
    case DocumentKind::StockCount:
        q.prepare(QStringLiteral("insert into 库存盘点总表 (盘点编号,辅助编号,盘点时间) values (:n,:a,:d)"));
        q.bind(QStringLiteral("d"), documentDate.startOfDay());
        break;
    case DocumentKind::RetailSale:
    case DocumentKind::Wholesale:
        q.prepare(QStringLiteral("insert into 销售总表 (销售单号,销售辅助单号,销售类型,日期时间) values (:n,:a,:t,:d)"));
        q.bind(QStringLiteral("t"), kind == DocumentKind::RetailSale ? QStringLiteral("零售") : QStringLiteral("批发"));
        q.bind(QStringLiteral("d"), documentDate.startOfDay());
        break;
    }
    q.bind(QStringLiteral("n"), n.number).bind(QStringLiteral("a"), n.auxiliary).exec();
}

// Draws and stores one number in its own transaction, as a posting does.
QString post(Database &db, DocumentKind kind, const QDate &today = kDay, const QDate &documentDate = kDay)
{
    Transaction tx(db);
    const DocumentNumber n = NextDocumentNumber(db, kind, today);
    store(db, kind, n, documentDate);
    tx.commit();
    return n.number;
}

} // namespace

class DocumentNumbers : public ::testing::TestWithParam<Engine> {};

TEST_P(DocumentNumbers, EachKindCountsItsOwnDayFromOne)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    struct Case { DocumentKind kind; const char *first; const char *second; };
    const Case cases[] = {
        {DocumentKind::PurchaseReceipt, "JH2026121101", "JH2026121102"},
        {DocumentKind::PurchaseReturn, "TH2026121101", "TH2026121102"},
        {DocumentKind::StockCount, "PD2026121101", "PD2026121102"},
        {DocumentKind::RetailSale, "LS202612110001", "LS202612110002"},
        {DocumentKind::Wholesale, "PF202612110001", "PF202612110002"},
    };
    // Every kind starts at 01/0001 although the kinds before it already have numbers today.
    for (const Case &c : cases) EXPECT_EQ(post(db, c.kind), QString::fromLatin1(c.first));
    for (const Case &c : cases) EXPECT_EQ(post(db, c.kind), QString::fromLatin1(c.second));
    // The next day starts again, whatever the day before reached.
    EXPECT_EQ(post(db, DocumentKind::RetailSale, kDay.addDays(1), kDay.addDays(1)), QStringLiteral("LS202612120001"));
    EXPECT_EQ(post(db, DocumentKind::PurchaseReceipt, kDay.addDays(1), kDay.addDays(1)), QStringLiteral("JH2026121201"));
}

TEST_P(DocumentNumbers, PastTheCounterDigitsTheCounterGrowsInsteadOfCarryingIntoTheDate)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    store(db, DocumentKind::PurchaseReceipt, {QStringLiteral("2026121199"), QStringLiteral("JH2026121199")});
    store(db, DocumentKind::RetailSale, {QStringLiteral("202612119999"), QStringLiteral("LS202612119999")});
    EXPECT_EQ(post(db, DocumentKind::PurchaseReceipt), QStringLiteral("JH20261211100"));
    // "…100" sorts before "…99" as text; the counter is compared as a number.
    EXPECT_EQ(post(db, DocumentKind::PurchaseReceipt), QStringLiteral("JH20261211101"));
    EXPECT_EQ(post(db, DocumentKind::RetailSale), QStringLiteral("LS2026121110000"));
    EXPECT_EQ(post(db, DocumentKind::RetailSale), QStringLiteral("LS2026121110001"));
}

TEST_P(DocumentNumbers, ABackDatedPurchaseDocumentNeverRepeatsTodaysNumber)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const QDate lastWeek = kDay.addDays(-7);
    EXPECT_EQ(post(db, DocumentKind::PurchaseReceipt, kDay, kDay), QStringLiteral("JH2026121101"));
    // Dated last week, drawn today: today's prefix, after today's numbers.
    EXPECT_EQ(post(db, DocumentKind::PurchaseReceipt, kDay, lastWeek), QStringLiteral("JH2026121102"));
    EXPECT_EQ(post(db, DocumentKind::PurchaseReceipt, kDay, kDay), QStringLiteral("JH2026121103"));
}

TEST_P(DocumentNumbers, ANumberAlreadyStoredIsSkippedAndDrawingNeedsATransaction)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    // An older database where a document's stored number ran ahead of its auxiliary number.
    store(db, DocumentKind::PurchaseReturn, {QStringLiteral("2026121101"), QStringLiteral("TH2026121101")});
    store(db, DocumentKind::PurchaseReturn, {QString(), QStringLiteral("TH2026121102")});
    EXPECT_EQ(post(db, DocumentKind::PurchaseReturn), QStringLiteral("TH2026121103"));
    EXPECT_THROW(NextDocumentNumber(db, DocumentKind::PurchaseReturn, kDay), DbError);
}

TEST_P(DocumentNumbers, NumbersAreUniqueAndOlderDatabasesWithRepeatsAreReported)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const DocumentNumber n{QStringLiteral("2026121101"), QStringLiteral("LS2026121101")};
    store(db, DocumentKind::RetailSale, n);
    EXPECT_THROW(store(db, DocumentKind::RetailSale, n), DbError);
    EXPECT_TRUE(ensureUniqueDocumentNumbers(db).isEmpty());

    // An older database: the index is missing and a number is stored twice.
    db.execute(QStringLiteral("DROP INDEX ux_销售总表_销售单号"));
    store(db, DocumentKind::RetailSale, n);
    const QStringList problems = ensureUniqueDocumentNumbers(db);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("销售总表.销售单号"))) << problems[0].toStdString();
    EXPECT_TRUE(problems[0].contains(QStringLiteral("LS2026121101"))) << problems[0].toStdString();
    // Once the repeat is gone, the next start adds the index.
    db.execute(QStringLiteral("delete from 销售总表 where id=(select max(id) from 销售总表)"));
    EXPECT_TRUE(ensureUniqueDocumentNumbers(db).isEmpty());
    EXPECT_THROW(store(db, DocumentKind::RetailSale, n), DbError);
}

INSTANTIATE_TEST_SUITE_P(Engines, DocumentNumbers, ::testing::ValuesIn(testEngines()), EngineParamName());
