#include "app/IniFile.h"
#include "app/Password.h"
#include "app/Session.h"
#include "app/SixBit.h"
#include "app/Udm.h"
#include "app/schema/Schema.h"
#include "support/TestShop.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray gbk(const QString &text)
{
    QStringEncoder e("GBK");
    return e.encode(text);
}

// A valid SQLite file with a table of someone else's.
void writeForeignSqlite(const QString &path)
{
    auto db = Database::openSqlite(path);
    db->execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
    db->execute(QStringLiteral("CREATE TABLE 通讯录 (姓名 TEXT, 电话 TEXT)"));
    db->execute(QStringLiteral("INSERT INTO 通讯录 VALUES ('张三', '123')"));
}

QString unreachableKf(const QString &mode)
{
    // Nothing listens on port 1: a network-mode start fails to connect at once.
    return QStringLiteral("[运行模式]\r\n值=%1\r\n[服务器]\r\n值=127.0.0.1:1\r\n[用户名]\r\n值=postgres\r\n"
                          "[密码]\r\n值=\r\n[数据库名]\r\n值=quenvar\r\n").arg(mode);
}

} // namespace

class StartupOnEngines : public ::testing::TestWithParam<Engine> {};

TEST_P(StartupOnEngines, NewShopHasTheSchemaAndTheOperatorAdmin)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    EXPECT_EQ(shop.dm().networkMode(), GetParam() == Engine::PostgreSQL);
    EXPECT_EQ(QFileInfo::exists(shop.file(QStringLiteral("data.mdb"))), GetParam() == Engine::SQLite);
    EXPECT_TRUE(QFileInfo::exists(shop.file(QStringLiteral("temp.mdb"))));
    EXPECT_TRUE(schema::missingTables(shop.db(), schema::mainTables()).isEmpty());
    EXPECT_TRUE(schema::missingTables(shop.temp(), schema::scratchTables()).isEmpty());
    EXPECT_TRUE(shop.dm().notices.isEmpty()) << shop.dm().notices.join(u'\n').toStdString();

    Query q(shop.db());
    q.exec(QStringLiteral("select * from 登陆"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("用户")), QStringLiteral("admin"));
    const QString stored = q.text(QStringLiteral("密码"));
    EXPECT_TRUE(isPasswordHash(stored));
    EXPECT_TRUE(verifyPassword(stored, QString()));
    EXPECT_FALSE(verifyPassword(stored, QStringLiteral("admin")));
    for (int i = 1; i <= 9; ++i) {
        const QString rights = q.text(QStringLiteral("right%1").arg(i));
        EXPECT_FALSE(rights.isEmpty());
        EXPECT_FALSE(rights.contains(u'0')) << i;
    }
    EXPECT_FALSE(q.next());
    for (Database *db : {&shop.db(), &shop.temp()}) {
        Query v(*db);
        v.exec(QStringLiteral("select * from 版本号"));
        ASSERT_TRUE(v.next());
        EXPECT_EQ(v.text(QStringLiteral("版本号")), QString::fromLatin1(schema::kSchemaVersion));
    }

    // Opening it again keeps everything and adds no second operator.
    Query(shop.db()).exec(QStringLiteral("insert into 分店 (分店) values ('一店')"));
    shop.close();
    shop.open();
    Query again(shop.db());
    again.exec(QStringLiteral("select (select count(*) from 登陆) as ops, (select count(*) from 分店) as shops"));
    ASSERT_TRUE(again.next());
    EXPECT_EQ(again.integer(QStringLiteral("ops")), 1);
    EXPECT_EQ(again.integer(QStringLiteral("shops")), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, StartupOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());

TEST(RunMode, OnlyTheExactNetworkValueSelectsNetworkMode)
{
    struct Case { const char *kf; bool network; };
    const Case cases[] = {
        {nullptr, false},                                  // no kf.ini
        {"[运行模式]\r\n值=\r\n", false},                   // empty value: 单机版
        {"[运行模式]\r\n", false},                          // section without the key
        {"[运行模式]\r\n值=单机版\r\n", false},
        {"[运行模式]\r\n值=default\r\n", false},
        {"[运行模式]\r\n值=网络版 \r\n", false},            // trailing blank
        {"[运行模式]\r\n值=网络版\r\n", true},
        {"[运行模式]\n值=网络版\n", true},
    };
    for (const Case &c : cases) {
        TestShop shop(Engine::SQLite, false);
        if (c.kf) writeAll(shop.file(QStringLiteral("kf.ini")), gbk(QString::fromUtf8(c.kf)));
        EXPECT_EQ(TDM::runMode() == TDM::Mode::Network, c.network) << (c.kf ? c.kf : "(no kf.ini)");
        if (!c.network) {
            TDM &dm = shop.open();
            EXPECT_FALSE(dm.networkMode());
            EXPECT_TRUE(QFileInfo::exists(shop.file(QStringLiteral("data.mdb"))));
        }
    }
}

TEST(RunMode, UnreachableServerAsksForTheDatabaseSettings)
{
    TestShop shop(Engine::SQLite, false);
    writeAll(shop.file(QStringLiteral("kf.ini")), gbk(unreachableKf(QStringLiteral("网络版"))));
    try {
        shop.open();
        FAIL() << "opened without a server";
    } catch (const StartupError &e) {
        EXPECT_EQ(e.kind(), StartupError::Kind::ServerUnreachable);
        // The fixed message, the reason in Chinese, then the server's own text.
        const QStringList lines = e.text().split(u'\n');
        ASSERT_GE(lines.size(), 4) << e.text().toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("连接失败，请您先进行数据库设置！！"));
        EXPECT_EQ(lines[1], QStringLiteral("无法连接到数据库服务器，请检查服务器地址、端口和网络，以及数据库服务器是否已经启动。"));
        EXPECT_TRUE(lines[2].isEmpty());
        EXPECT_TRUE(e.text().contains(QStringLiteral("Connection refused"), Qt::CaseInsensitive)) << e.text().toStdString();
    }
    // Nothing of the shop was created on the way.
    EXPECT_FALSE(QFileInfo::exists(shop.file(QStringLiteral("data.mdb"))));
    EXPECT_FALSE(QFileInfo::exists(shop.file(QStringLiteral("temp.mdb"))));
}

// Wrong user, wrong database name, wrong port: all the same message.
TEST(RunMode, WrongServerValuesAskForTheDatabaseSettings)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    const PgParams server = TestShop::pgServer();
    struct Case { QString server, user, database, reason; };
    const Case cases[] = {
        {server.server, QStringLiteral("没有这个用户"), QStringLiteral("postgres"), QStringLiteral("服务器上没有这个用户名。")},
        {server.server, server.user, QStringLiteral("no_such_database_qv"), QStringLiteral("服务器上没有这个数据库。")},
        {server.host() + QStringLiteral(":1"), server.user, QStringLiteral("postgres"),
         QStringLiteral("无法连接到数据库服务器，请检查服务器地址、端口和网络，以及数据库服务器是否已经启动。")},
    };
    for (const Case &c : cases) {
        TestShop shop(Engine::SQLite, false);
        IniFile kf(shop.file(QStringLiteral("kf.ini")));
        kf.write(QStringLiteral("运行模式"), QStringLiteral("值"), QStringLiteral("网络版"));
        kf.write(QStringLiteral("服务器"), QStringLiteral("值"), c.server);
        kf.write(QStringLiteral("用户名"), QStringLiteral("值"), c.user);
        kf.write(QStringLiteral("密码"), QStringLiteral("值"), EncodeSixBit(server.password));
        kf.write(QStringLiteral("数据库名"), QStringLiteral("值"), c.database);
        try {
            shop.open();
            ADD_FAILURE() << "opened " << c.server.toStdString() << " " << c.user.toStdString() << " " << c.database.toStdString();
        } catch (const StartupError &e) {
            EXPECT_EQ(e.kind(), StartupError::Kind::ServerUnreachable);
            EXPECT_EQ(e.text().section(u'\n', 1, 1), c.reason) << e.text().toStdString();
        }
    }
}

TEST(RunMode, ServerMayNameItsPortAfterAComma)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    TestShop shop(Engine::PostgreSQL, false);
    const PgParams server = TestShop::pgServer();
    IniFile(shop.file(QStringLiteral("kf.ini")))
        .write(QStringLiteral("服务器"), QStringLiteral("值"), server.host() + u',' + QString::number(server.port()));
    TDM &dm = shop.open();
    EXPECT_TRUE(dm.networkMode());
    EXPECT_TRUE(dm.ADOConnection1.tableExists(QStringLiteral("登陆")));
}

TEST(RunMode, ServerDatabaseOfAnotherProgramIsRefusedUntouched)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    TestShop shop(Engine::PostgreSQL, false);
    {
        PgParams p = TestShop::pgServer();
        p.database = shop.pgDatabase();
        auto db = Database::openPostgres(p);
        db->execute(QStringLiteral("CREATE TABLE customers (name text)"));
    }
    try {
        shop.open();
        FAIL() << "opened a foreign database";
    } catch (const StartupError &e) {
        EXPECT_EQ(e.kind(), StartupError::Kind::BadShopFile);
        EXPECT_TRUE(e.text().contains(shop.pgDatabase()));
    }
    PgParams p = TestShop::pgServer();
    p.database = shop.pgDatabase();
    auto db = Database::openPostgres(p);
    EXPECT_FALSE(db->tableExists(QStringLiteral("登陆")));
}

TEST(ShopFiles, ForeignOrDamagedDataFileIsRefusedAndLeftUnchanged)
{
    struct Case { const char *what; std::function<void(const QString &)> make; };
    const Case cases[] = {
        {"text file", [](const QString &p) { writeAll(p, "这不是数据库\r\n"); }},
        {"empty file", [](const QString &p) { writeAll(p, QByteArray()); }},
        {"foreign SQLite", writeForeignSqlite},
        {"damaged SQLite", [](const QString &p) {
             QByteArray b("SQLite format 3\0", 16);
             b.append(QByteArray(4096, '\x5a'));
             writeAll(p, b);
         }},
    };
    for (const Case &c : cases) {
        TestShop shop(Engine::SQLite, false);
        const QString data = shop.file(QStringLiteral("data.mdb"));
        c.make(data);
        const QByteArray before = readAll(data);
        try {
            shop.open();
            ADD_FAILURE() << c.what << ": opened";
        } catch (const StartupError &e) {
            EXPECT_EQ(e.kind(), StartupError::Kind::BadShopFile) << c.what;
            EXPECT_TRUE(e.text().contains(QStringLiteral("data.mdb"))) << c.what << ": " << e.text().toStdString();
        }
        EXPECT_EQ(readAll(data), before) << c.what;
        EXPECT_EQ(QDir(shop.dir()).entryList(QDir::Files), QStringList{QStringLiteral("data.mdb")}) << c.what;
    }
}

TEST(ShopFiles, DamagedOrForeignScratchFileIsKeptAsideAndRebuilt)
{
    struct Case { const char *what; std::function<void(const QString &)> make; };
    const Case cases[] = {
        {"text file", [](const QString &p) { writeAll(p, "垃圾数据"); }},
        {"foreign SQLite", writeForeignSqlite},
    };
    for (const Case &c : cases) {
        TestShop shop(Engine::SQLite, false);
        const QString temp = shop.file(QStringLiteral("temp.mdb"));
        c.make(temp);
        const QByteArray before = readAll(temp);
        TDM &dm = shop.open();
        ASSERT_EQ(dm.notices.size(), 1) << c.what;
        EXPECT_TRUE(dm.notices[0].contains(QStringLiteral("temp.mdb"))) << c.what;
        const QStringList aside = QDir(shop.dir()).entryList({QStringLiteral("temp.mdb.damaged-*")}, QDir::Files);
        ASSERT_EQ(aside.size(), 1) << c.what;
        EXPECT_EQ(readAll(shop.file(aside[0])), before) << c.what;
        EXPECT_TRUE(dm.notices[0].contains(aside[0])) << c.what;
        EXPECT_TRUE(schema::missingTables(dm.ADOtemp, schema::scratchTables()).isEmpty()) << c.what;
    }
}

TEST(ShopFiles, OlderScratchFileGainsTheTablesItLacksAndKeepsItsRows)
{
    TestShop shop(Engine::SQLite);
    Query(shop.temp()).exec(QStringLiteral("insert into 销售临时表 (商品名称) values ('衬衫')"));
    shop.temp().execute(QStringLiteral("drop table 库存盘点临时表"));
    shop.close();
    TDM &dm = shop.open();
    EXPECT_TRUE(dm.notices.isEmpty());
    EXPECT_TRUE(dm.ADOtemp.tableExists(QStringLiteral("库存盘点临时表")));
    Query q(dm.ADOtemp);
    q.exec(QStringLiteral("select count(*) as n from 销售临时表"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.integer(QStringLiteral("n")), 1);
}

// After a power cut data.mdb comes with a write-ahead log that was never folded in
// (and no shared-memory file): the shop opens and keeps the committed rows.
TEST(ShopFiles, DataFileWithAnUnfoldedLogAfterACrashOpens)
{
    TestShop crashed(Engine::SQLite, false);
    {
        TestShop shop(Engine::SQLite);
        Query(shop.db()).exec(QStringLiteral("insert into 分店 (分店) values ('一店')"));
        const QString wal = shop.file(QStringLiteral("data.mdb-wal"));
        ASSERT_TRUE(QFileInfo(wal).size() > 0);
        // Copy the files as a crash would leave them, while the shop is still open.
        ASSERT_TRUE(QFile::copy(shop.file(QStringLiteral("data.mdb")), crashed.file(QStringLiteral("data.mdb"))));
        ASSERT_TRUE(QFile::copy(wal, crashed.file(QStringLiteral("data.mdb-wal"))));
    }
    paths().shopDir = crashed.dir();
    paths().programDir = QStringLiteral(QV_BIN_DIR);
    TDM &dm = crashed.open();
    Query q(dm.ADOConnection1);
    q.exec(QStringLiteral("select 分店 from 分店"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("分店")), QStringLiteral("一店"));
}
