#include "app/Database.h"
#include "app/Session.h"
#include "app/schema/Schema.h"
#include "stock/StockLedger.h"
#include "support/TestShop.h"

#include <gtest/gtest.h>

namespace {

// The columns that hold an article's or a member's key in the main tables.
bool isKeyColumn(const QString &name)
{
    return name == u"商品编码" || name == u"商品编号" || name == u"客户编号";
}

std::vector<std::pair<QString, QString>> keyColumns()
{
    std::vector<std::pair<QString, QString>> out;
    for (const schema::Table &t : schema::mainTables())
        for (const schema::Column &c : t.columns)
            if (isKeyColumn(c.name)) out.emplace_back(t.name, c.name);
    return out;
}

qint64 newArticle(Database &db)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 商品列表 (商品名称,货号,零售价格,数量) values (:n,:h,:p,:q) returning id"));
    return q.bind(QStringLiteral("n"), QStringLiteral("男士衬衫")).bind(QStringLiteral("h"), QStringLiteral("A01"))
        .bind(QStringLiteral("p"), QVariant::fromValue(Money::fromUnits(1190000))).bind(QStringLiteral("q"), 0)
        .execReturningKey();
}

// A shop with a posted stock movement and a row in every other table that holds a
// key: the article (id `article`) and the member (id `member`).
void postSmallShop(Database &db, qint64 *article, qint64 *member)
{
    // Some ids first, so the keys are not all 1.
    newArticle(db);
    newArticle(db);
    *article = newArticle(db);
    Query m(db);
    m.exec(QStringLiteral("insert into 零售会员 (客户姓名,手工编码) values ('甲','001')"));
    m.prepare(QStringLiteral("insert into 零售会员 (客户姓名,手工编码) values ('乙','002') returning id"));
    *member = m.execReturningKey();

    Transaction tx(db);
    StockLedger ledger(db);
    const Money five = Money::fromUnits(5 * Money::kScale);
    EXPECT_TRUE(ledger.AdjustArticleTotal(*article, five));
    ledger.AdjustWarehouseStock(*article, QStringLiteral("总仓"), five, {QStringLiteral("男士衬衫"), QStringLiteral("A01"), {}});
    ledger.AdjustSizeStock(*article, QStringLiteral("总仓"), QStringLiteral("M"), QStringLiteral("白"), five,
                           {QStringLiteral("男士衬衫"), QStringLiteral("A01"), QStringLiteral("A01WM")});
    const QVariantMap keys{{QStringLiteral("a"), *article}, {QStringLiteral("m"), *member}};
    const QString inserts[] = {
        QStringLiteral("insert into 商品条码表 (商品编码,颜色,尺码,商品条码) values (:a,'白','M','A01WM')"),
        QStringLiteral("insert into 尺码条码设置 (商品编号,尺码,条码) values (:a,'M','2')"),
        QStringLiteral("insert into 颜色条码设置 (商品编号,颜色,条码) values (:a,'白','1')"),
        QStringLiteral("insert into 出库入库明细表 (单据编号,商品编码,数量) values ('JH2026010101',:a,5)"),
        QStringLiteral("insert into 入库尺码明细表 (单据编号,商品编码,尺码,颜色,数量) values ('JH2026010101',:a,'M','白',5)"),
        QStringLiteral("insert into 库存盘点明细表 (盘点编号,商品编码,账面数,实盘数,差异数) values ('PD2026010101',:a,5,5,0)"),
        QStringLiteral("insert into 批发明细表 (单据编号,商品编码,数量) values ('PF2026010101',:a,1)"),
        QStringLiteral("insert into 充值记录 (客户编号,充值金额) values (:m,100)"),
        QStringLiteral("insert into 积分兑换记录 (客户编号,兑换积分) values (:m,10)"),
    };
    for (const QString &sql : inserts) {
        Query q(db);
        q.prepare(sql);
        QStringList names;
        Query::rewrite(sql, &names);
        for (const QString &n : names) q.bind(n, keys.value(n));
        q.exec();
    }
    tx.commit();
}

// Reads every key column of the shop: each holds the key as a whole number, never
// as decimal text; on PostgreSQL the column is an integer.
void expectWholeNumberKeys(Database &db, qint64 article, qint64 member)
{
    const auto columns = keyColumns();
    ASSERT_GE(columns.size(), size_t(11));   // the article in nine tables, the member in two
    for (const auto &[table, column] : columns) {
        SCOPED_TRACE(table.toStdString() + "." + column.toStdString());
        EXPECT_EQ(schema::columnType(table, column), schema::Type::Integer);
        if (!db.isSqlite()) {
            Query t(db);
            t.prepare(QStringLiteral("select data_type from information_schema.columns "
                                     "where table_schema=current_schema() and table_name=:t and column_name=:c"));
            t.bind(QStringLiteral("t"), table).bind(QStringLiteral("c"), column).exec();
            ASSERT_TRUE(t.next());
            EXPECT_EQ(t.text(QStringLiteral("data_type")), QStringLiteral("integer"));
        }
        Query q(db);
        q.exec(QStringLiteral("select %1 as k from %2").arg(column, table));
        ASSERT_TRUE(q.next()) << "no row";
        const qint64 expected = column == u"客户编号" ? member : article;
        const QVariant raw = q.value(QStringLiteral("k"));
        bool whole = false;
        EXPECT_EQ(raw.toString().toLongLong(&whole), expected) << raw.toString().toStdString();
        EXPECT_TRUE(whole) << raw.toString().toStdString();
        EXPECT_EQ(q.integer(QStringLiteral("k")), expected);
        EXPECT_EQ(q.text(QStringLiteral("k")), QString::number(expected));
        // Looked up by the key as the program binds it.
        Query by(db);
        by.prepare(QStringLiteral("select count(*) as n from %1 where %2=:k").arg(table, column));
        by.bind(QStringLiteral("k"), expected).exec();
        ASSERT_TRUE(by.next());
        EXPECT_GE(by.integer(QStringLiteral("n")), 1);
    }
}

} // namespace

class KeysOnEngines : public ::testing::TestWithParam<Engine> {};

TEST_P(KeysOnEngines, EveryKeyColumnOfAPostedShopIsAWholeNumber)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    qint64 article = 0, member = 0;
    postSmallShop(shop.db(), &article, &member);
    expectWholeNumberKeys(shop.db(), article, member);
}

INSTANTIATE_TEST_SUITE_P(Engines, KeysOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());

// A server database from before the keys were integers: the shipped patches turn
// every key column into an integer at the next start and keep the values.
TEST(KeysOnServer, OlderDatabaseWithDecimalKeysIsPatchedAtStart)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    TestShop shop(Engine::PostgreSQL);
    qint64 article = 0, member = 0;
    postSmallShop(shop.db(), &article, &member);
    for (const auto &[table, column] : keyColumns()) {
        if (table == u"商品条码表") continue;   // integer from the start
        shop.db().execute(QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE numeric(19,4)").arg(table, column));
    }
    Query(shop.db()).exec(QStringLiteral("update 版本号 set 版本号='201303010000'"));
    {
        Query q(shop.db());
        q.exec(QStringLiteral("select 商品编码 as k from 库存总表"));
        ASSERT_TRUE(q.next());
        ASSERT_EQ(q.value(QStringLiteral("k")).toString(), QString::number(article) + QStringLiteral(".0000"));
    }
    shop.close();
    shop.open();   // the program's own patch database
    EXPECT_TRUE(shop.dm().notices.isEmpty()) << shop.dm().notices.join(u'\n').toStdString();
    expectWholeNumberKeys(shop.db(), article, member);
    Query v(shop.db());
    v.exec(QStringLiteral("select 版本号 from 版本号"));
    ASSERT_TRUE(v.next());
    EXPECT_EQ(v.text(QStringLiteral("版本号")), QString::fromLatin1(schema::kSchemaVersion));
}
