#include "app/Database.h"
#include "app/schema/Schema.h"
#include "support/TestShop.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

using schema::Type;

namespace {

struct Declared {
    QString name;
    QString type;   // as the database reports it
};

std::vector<Declared> declaredColumns(Database &db, const QString &table)
{
    std::vector<Declared> out;
    Query q(db);
    if (db.isSqlite()) {
        q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        while (q.next())
            out.push_back({q.text(QStringLiteral("name")), q.text(QStringLiteral("type"))});
    } else {
        q.prepare(QStringLiteral("select column_name, data_type, character_maximum_length, numeric_precision, numeric_scale, "
                                 "is_identity, column_default from information_schema.columns "
                                 "where table_schema=current_schema() and table_name=:t order by ordinal_position"));
        q.bind(QStringLiteral("t"), table).exec();
        while (q.next()) {
            QString t = q.text(QStringLiteral("data_type"));
            if (t == u"numeric") t += QStringLiteral("(%1,%2)").arg(q.text(QStringLiteral("numeric_precision")), q.text(QStringLiteral("numeric_scale")));
            if (t == u"character varying") t += QStringLiteral("(%1)").arg(q.text(QStringLiteral("character_maximum_length")));
            if (q.text(QStringLiteral("is_identity")) == u"YES") t += QStringLiteral(" identity");
            if (!q.text(QStringLiteral("column_default")).isEmpty()) t += QStringLiteral(" default ") + q.text(QStringLiteral("column_default"));
            out.push_back({q.text(QStringLiteral("column_name")), t});
        }
    }
    return out;
}

// What each logical type must look like in each engine.
QString expectedDeclared(const schema::Column &c, Engine e)
{
    const bool pg = e == Engine::PostgreSQL;
    switch (c.type) {
    case Type::AutoNumber: return pg ? QStringLiteral("integer identity") : QStringLiteral("INTEGER");
    case Type::Text:
        if (c.length > 0) return pg ? QStringLiteral("character varying(%1)").arg(c.length) : QStringLiteral("TEXT(%1)").arg(c.length);
        return pg ? QStringLiteral("text") : QStringLiteral("TEXT");
    case Type::Integer: return pg ? QStringLiteral("integer") : QStringLiteral("INTEGER");
    case Type::Currency:
    case Type::Number: return pg ? QStringLiteral("numeric(19,4)") : QStringLiteral("NUMERIC");
    case Type::DateTime: return pg ? QStringLiteral("timestamp without time zone") : QStringLiteral("TEXT");
    case Type::Bool: return pg ? QStringLiteral("boolean default false") : QStringLiteral("INTEGER");
    }
    return QString();
}

void expectCatalogue(Database &db, const std::vector<schema::Table> &tables)
{
    for (const schema::Table &t : tables) {
        const auto cols = declaredColumns(db, t.name);
        ASSERT_EQ(cols.size(), t.columns.size()) << t.name.toStdString();
        for (size_t i = 0; i < cols.size(); ++i) {
            // PostgreSQL folds unquoted ASCII names to lower case ("QQ" is stored as
            // "qq"); statements and reads by name are case-insensitive alike.
            EXPECT_EQ(cols[i].name.toLower(), t.columns[i].name.toLower()) << t.name.toStdString();
            EXPECT_EQ(cols[i].type, expectedDeclared(t.columns[i], db.engine()))
                << t.name.toStdString() << "." << t.columns[i].name.toStdString();
        }
    }
}

} // namespace

class SchemaOnEngines : public ::testing::TestWithParam<Engine> {};

TEST_P(SchemaOnEngines, EveryCatalogueColumnExistsWithItsDeclaredType)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    expectCatalogue(shop.db(), schema::mainTables());
    expectCatalogue(shop.temp(), schema::scratchTables());
}

// The types other windows rely on, independent of how the catalogue spells them.
TEST(SchemaCatalogue, ColumnsWithFixedTypes)
{
    struct Case { const char *table, *column; Type type; int length; };
    const Case cases[] = {
        {"商品条码表", "商品编码", Type::Integer, 0},
        {"供货商", "我方应付金额", Type::Currency, 0},
        {"入库临时表", "数量", Type::Currency, 0},
        {"入库临时表", "ID", Type::AutoNumber, 0},
        {"入库临时表", "商品编码", Type::Text, 255},
        {"入库尺码临时表", "数量", Type::Integer, 0},
        {"入库尺码临时表", "单据编号", Type::Text, 20},
        {"入库尺码临时表", "商品名称", Type::Text, 50},
        {"库存盘点临时表", "编号", Type::AutoNumber, 0},
        {"库存盘点临时表", "备注", Type::Text, 10},
        {"库存盘点临时表", "账面数", Type::Currency, 0},
        {"销售临时表", "商品编码", Type::Text, 0},
        {"销售临时表", "折扣率", Type::Currency, 0},
        {"fasongneirong", "zdid", Type::AutoNumber, 0},
        {"fasongneirong", "fasongwanbi", Type::Bool, 0},
        {"零售会员", "生日", Type::DateTime, 0},
        {"零售会员", "生日月", Type::Integer, 0},
        {"零售会员", "帐户余额", Type::Currency, 0},
        {"商品列表", "零售价格", Type::Currency, 0},
        {"销售明细表", "编号", Type::AutoNumber, 0},
        {"销售总表", "日期时间", Type::DateTime, 0},
    };
    for (const Case &c : cases) {
        const schema::Table *t = schema::findTable(QString::fromUtf8(c.table));
        ASSERT_NE(t, nullptr) << c.table;
        const schema::Column *col = t->column(QString::fromUtf8(c.column));
        ASSERT_NE(col, nullptr) << c.table << "." << c.column;
        EXPECT_EQ(col->type, c.type) << c.table << "." << c.column;
        EXPECT_EQ(col->length, c.length) << c.table << "." << c.column;
    }
    // The scratch 版本号 is TEXT(50) in a new file as in one the upgrade completes.
    const auto &scratch = schema::scratchTables();
    const auto v = std::find_if(scratch.begin(), scratch.end(), [](const schema::Table &t) { return t.name == u"版本号"; });
    ASSERT_NE(v, scratch.end());
    EXPECT_EQ(v->columns.at(0).length, 50);
}

TEST_P(SchemaOnEngines, MemberColumnsKeepTheirFixedOrder)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Query q(shop.db());
    q.exec(QStringLiteral("select * from 零售会员"));
    const QStringList expected = QStringLiteral(
        "id 客户类型 客户地区 联系电话 客户姓名 客户单位 身份证号 生日 联系地址 客户备注 信用等级 购物次数 购物金额 积分 "
        "手工编码 黑名单 QQ 帐户余额 生日月 生日日").split(u' ');
    QStringList columns = q.columns();
    ASSERT_EQ(columns.size(), expected.size());
    for (int i = 0; i < columns.size(); ++i)
        EXPECT_EQ(columns[i].toLower(), expected[i].toLower()) << i;
    // Read by its name as written, on both engines.
    EXPECT_NO_THROW(q.value(QStringLiteral("QQ")));
}

TEST_P(SchemaOnEngines, NewOutboxMessageReadsAsNotSent)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Query q(shop.db());
    q.prepare(QStringLiteral("insert into fasongneirong (shouji,neirong,xingming) values (:s,:n,:x)"));
    q.bind(QStringLiteral("s"), QStringLiteral("13800000000")).bind(QStringLiteral("n"), QStringLiteral("生日快乐"))
        .bind(QStringLiteral("x"), QString()).exec();
    q.prepare(QStringLiteral("select * from fasongneirong where fasongwanbi=:f"));
    q.bind(QStringLiteral("f"), false).exec();
    ASSERT_TRUE(q.next());
    EXPECT_FALSE(q.boolean(QStringLiteral("fasongwanbi")));
    EXPECT_FALSE(q.value(QStringLiteral("fasongwanbi")).isNull());
}

TEST_P(SchemaOnEngines, DeletedKeysAreNeverGivenAgain)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    auto insertArticle = [&](Database &db, const QString &table, const QString &key) {
        Query q(db);
        q.prepare(QStringLiteral("insert into %1 (商品名称) values (:n)").arg(table));
        q.bind(QStringLiteral("n"), QStringLiteral("衬衫")).exec();
        q.exec(QStringLiteral("select max(%1) as k from %2").arg(key, table));
        q.next();
        return q.integer(QStringLiteral("k"));
    };
    for (auto [db, table, key] : {std::tuple{&shop.db(), QStringLiteral("商品列表"), QStringLiteral("id")},
                                  std::tuple{&shop.temp(), QStringLiteral("入库临时表"), QStringLiteral("ID")}}) {
        const qint64 first = insertArticle(*db, table, key);
        const qint64 second = insertArticle(*db, table, key);
        Query(*db).exec(QStringLiteral("delete from %1 where %2=%3").arg(table, key).arg(second));
        const qint64 third = insertArticle(*db, table, key);
        EXPECT_GT(second, first);
        EXPECT_GT(third, second) << table.toStdString();
    }
    // Also after the shop is closed and opened again.
    shop.close();
    shop.open();
    Query q(shop.db());
    q.exec(QStringLiteral("select max(id) as k from 商品列表"));
    q.next();
    const qint64 last = q.integer(QStringLiteral("k"));
    Query(shop.db()).exec(QStringLiteral("delete from 商品列表"));
    EXPECT_GT(insertArticle(shop.db(), QStringLiteral("商品列表"), QStringLiteral("id")), last);
}

INSTANTIATE_TEST_SUITE_P(Engines, SchemaOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());
