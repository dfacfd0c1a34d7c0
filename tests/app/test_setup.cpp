#include "app/IniFile.h"
#include "app/ServerSetup.h"
#include "app/SixBit.h"
#include "app/Udm.h"
#include "ServerFixture.h"
#include "support/TestShop.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A database name of this test run, dropped again at the end.
struct ScratchDatabase {
    QString name;
    explicit ScratchDatabase(const char *tag)
        : name(QStringLiteral("qvsetup_%1_%2").arg(QLatin1String(tag)).arg(QCoreApplication::applicationPid())) { drop(); }
    ~ScratchDatabase() { drop(); }
    void drop()
    {
        try {
            Database::openPostgres(TestShop::pgServer())->execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        } catch (const DbError &) {
        }
    }
};

} // namespace

TEST(ServerSetupFile, SavesAndLoadsTheSettingsWithTheEncodedPassword)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kf.ini"));
    ServerSetup setup(path);
    const ServerSettings none = setup.load();
    EXPECT_EQ(none.mode, QStringLiteral("单机版"));
    EXPECT_TRUE(none.server.isEmpty());

    ServerSettings s;
    s.mode = QStringLiteral("网络版");
    s.server = QStringLiteral("192.168.1.10,5433");
    s.user = QStringLiteral("收银");
    s.password = QStringLiteral("密码abc");
    s.database = QStringLiteral("shop1");
    QString error;
    ASSERT_TRUE(setup.save(s, &error)) << error.toStdString();

    const IniFile kf(path);
    EXPECT_EQ(kf.read(QStringLiteral("运行模式"), QStringLiteral("值"), QString()), QStringLiteral("网络版"));
    const QString stored = kf.read(QStringLiteral("密码"), QStringLiteral("值"), QString());
    EXPECT_NE(stored, s.password);
    EXPECT_EQ(stored, EncodeSixBit(s.password));

    const ServerSettings back = setup.load();
    EXPECT_EQ(back.mode, s.mode);
    EXPECT_EQ(back.server, s.server);
    EXPECT_EQ(back.user, s.user);
    EXPECT_EQ(back.password, s.password);
    EXPECT_EQ(back.database, s.database);

    // Network mode needs the server values; single-user mode does not.
    s.database.clear();
    EXPECT_FALSE(setup.save(s, &error));
    EXPECT_EQ(error, QStringLiteral("请输入数据库名！"));
    EXPECT_EQ(setup.load().database, QStringLiteral("shop1"));
    s.mode = QStringLiteral("单机版");
    EXPECT_TRUE(setup.save(s, &error));
    EXPECT_EQ(IniFile(path).read(QStringLiteral("运行模式"), QStringLiteral("值"), QString()), QStringLiteral("单机版"));
}

TEST(ServerSetupServer, TestsTheConnection)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    const auto ok = ServerSetup::testConnection(testServer(QStringLiteral("postgres")));
    EXPECT_TRUE(ok.ok) << ok.message.toStdString();
    EXPECT_EQ(ok.message, QStringLiteral("连接成功！"));

    ServerSettings bad = testServer(QStringLiteral("postgres"));
    bad.server = bad.params().host() + QStringLiteral(":1");
    const auto failed = ServerSetup::testConnection(bad);
    EXPECT_FALSE(failed.ok);
    EXPECT_TRUE(failed.message.startsWith(QStringLiteral("连接失败："))) << failed.message.toStdString();
}

TEST(ServerSetupServer, CreatesANewShopDatabaseThatTheProgramOpens)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    ScratchDatabase target("new");
    const ServerSettings s = testServer(target.name);
    const auto created = ServerSetup::createDatabase(s);   // the database itself does not exist yet
    ASSERT_TRUE(created.ok) << created.message.toStdString();
    EXPECT_EQ(created.message, QStringLiteral("数据库创建成功！"));

    // The program opens it in network mode with admin ready.
    TestShop shop(Engine::PostgreSQL, false);   // kf.ini is replaced by the one the setup writes
    QString error;
    ASSERT_TRUE(ServerSetup(shop.file(QStringLiteral("kf.ini"))).save(s, &error));
    TDM &dm = shop.open();
    EXPECT_TRUE(dm.networkMode());
    Query q(dm.ADOConnection1);
    q.exec(QStringLiteral("select 用户 from 登陆"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(QStringLiteral("用户")), QStringLiteral("admin"));
    EXPECT_FALSE(q.next());
    shop.close();

    // A second creation is refused and changes nothing.
    const auto again = ServerSetup::createDatabase(s);
    EXPECT_FALSE(again.ok);
    EXPECT_TRUE(again.message.contains(QStringLiteral("已经有数据表"))) << again.message.toStdString();
    PgParams p = s.params();
    auto db = Database::openPostgres(p);
    Query n(*db);
    n.exec(QStringLiteral("select count(*) as n from 登陆"));
    ASSERT_TRUE(n.next());
    EXPECT_EQ(n.integer(QStringLiteral("n")), 1);
}

TEST(ServerSetupServer, RefusesADatabaseOfAnotherProgram)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    ScratchDatabase target("foreign");
    Database::openPostgres(TestShop::pgServer())->execute(QStringLiteral("CREATE DATABASE %1").arg(target.name));
    PgParams p = testServer(target.name).params();
    Database::openPostgres(p)->execute(QStringLiteral("CREATE TABLE orders (id integer)"));
    const auto r = ServerSetup::createDatabase(testServer(target.name));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("数据库 %1 中已经有数据表，不能在其中创建新的数据库。").arg(target.name));
    EXPECT_FALSE(Database::openPostgres(p)->tableExists(QStringLiteral("登陆")));
}
