#include "app/IniFile.h"
#include "app/ServerSetup.h"
#include "app/SixBit.h"
#include "app/Udm.h"
#include "support/Harness.h"
#include "support/TestShop.h"
#include "ui/Guard.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

// A PostgreSQL cluster of the test's own (the shared test server is never stopped):
// started with the project's test-server script, stopped and started again by the
// test. Optionally it asks for a password on its TCP connections.
class OwnCluster {
public:
    OwnCluster()
        : dir_(QStringLiteral("/tmp/qv-net-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter_))
    {
        QTcpServer probe;   // a port nobody uses right now
        probe.listen(QHostAddress::LocalHost, 0);
        port_ = probe.serverPort();
    }
    ~OwnCluster()
    {
        stop();
        QDir(dir_).removeRecursively();
    }

    bool start()
    {
        QProcess p;
        p.start(QStringLiteral("bash"), {script(), QStringLiteral("start"), dir_, QString::number(port_)});
        p.waitForFinished(120000);
        server_ = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        running_ = p.exitCode() == 0 && !server_.isEmpty();
        if (!running_) ADD_FAILURE() << p.readAllStandardError().toStdString() << server_.toStdString();
        return running_;
    }
    void stop()
    {
        if (!running_) return;
        QProcess::execute(QStringLiteral("bash"), {script(), QStringLiteral("stop"), dir_});
        running_ = false;
    }
    // Starts the stopped cluster again, keeping its data.
    bool restart()
    {
        running_ = pgCtl(QStringLiteral("start"));
        return running_;
    }
    // From now on TCP logins need the password (the superuser "postgres" gets it).
    bool requirePassword(const QString &password)
    {
        PgParams p = params();
        Database::openPostgres(p)->execute(
            QStringLiteral("ALTER ROLE postgres PASSWORD '%1'").arg(QString(password).replace(u'\'', QStringLiteral("''"))));
        QFile hba(dir_ + QStringLiteral("/data/pg_hba.conf"));
        if (!hba.open(QIODevice::ReadOnly)) return false;
        QByteArray text = hba.readAll();
        hba.close();
        QByteArray out;
        for (const QByteArray &line : text.split('\n'))
            out += (line.startsWith("host") ? QByteArray(line).replace("trust", "scram-sha-256") : line) + '\n';
        if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        hba.write(out);
        hba.close();
        return pgCtl(QStringLiteral("reload"));
    }

    PgParams params(const QString &database = QStringLiteral("postgres")) const
    {
        PgParams p;
        p.server = server_;
        p.user = QStringLiteral("postgres");
        p.database = database;
        return p;
    }
    const QString &server() const { return server_; }

private:
    static QString script() { return QStringLiteral(QV_SOURCE_DIR "/scripts/pg-test-server.sh"); }
    bool pgCtl(const QString &action)
    {
        // The options the test-server script starts the cluster with.
        const QString cmd = QStringLiteral(
            "PGBIN=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1); "
            "run() { if [ \"$(id -u)\" = 0 ]; then runuser -u postgres -- \"$@\"; else \"$@\"; fi; }; "
            "run \"$PGBIN/pg_ctl\" -D \"$1/data\" -l \"$1/server.log\" -w "
            "-o \"-p $2 -k $1 -c listen_addresses=127.0.0.1 -c fsync=off\" \"$3\" >/dev/null");
        return QProcess::execute(QStringLiteral("bash"), {QStringLiteral("-c"), cmd, QStringLiteral("pg-ctl"), dir_,
                                                          QString::number(port_), action}) == 0;
    }
    static inline int counter_ = 0;
    QString dir_;
    quint16 port_ = 0;
    QString server_;
    bool running_ = false;
};

void writeNetworkKf(const TestShop &shop, const PgParams &p)
{
    IniFile kf(shop.file(QStringLiteral("kf.ini")));
    kf.write(QStringLiteral("运行模式"), QStringLiteral("值"), QStringLiteral("网络版"));
    kf.write(QStringLiteral("服务器"), QStringLiteral("值"), p.server);
    kf.write(QStringLiteral("用户名"), QStringLiteral("值"), p.user);
    kf.write(QStringLiteral("密码"), QStringLiteral("值"), EncodeSixBit(p.password));
    kf.write(QStringLiteral("数据库名"), QStringLiteral("值"), p.database);
}

// A new shop on the cluster, opened as the program opens it.
std::unique_ptr<TDM> openShopOn(OwnCluster &pg, const TestShop &folder)
{
    Database::openPostgres(pg.params())->execute(QStringLiteral("CREATE DATABASE qvshop ENCODING 'UTF8' TEMPLATE template0"));
    writeNetworkKf(folder, pg.params(QStringLiteral("qvshop")));
    auto dm = TDM::open();
    DM = dm.get();
    return dm;
}

qint64 count(Database &db, const QString &sql)
{
    Query q(db);
    q.exec(sql);
    return q.next() ? q.integer(QStringLiteral("n")) : -1;
}

const QString kLost = QStringLiteral("与数据库服务器的连接已断开");

} // namespace

// The server goes away under an open shop: every action says so in Chinese (never
// an empty box), and once the server is back the next action works again, with
// queries prepared before the loss, without restarting the program.
TEST(ConnectionLoss, ServerStoppedAndRestartedUnderAnOpenShop)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    OwnCluster pg;
    ASSERT_TRUE(pg.start());
    TestShop folder(Engine::SQLite, false);
    auto dm = openShopOn(pg, folder);
    Database &db = dm->ADOConnection1;
    Query list(db);
    list.prepare(QStringLiteral("select count(*) as n from 分店 where 分店<>:x"));
    list.bind(QStringLiteral("x"), QStringLiteral("总部")).exec();
    Query(db).exec(QStringLiteral("insert into 分店 (分店) values ('一店')"));
    list.exec();
    ASSERT_TRUE(list.next());
    ASSERT_EQ(list.integer(QStringLiteral("n")), 1);

    pg.stop();
    Harness h;
    EXPECT_FALSE(guarded([&] { list.exec(); }));
    EXPECT_FALSE(guarded([&] { Query(db).exec(QStringLiteral("select count(*) as n from 库房名称")); }));
    EXPECT_FALSE(guarded([&] { Transaction tx(db); Query(db).exec(QStringLiteral("delete from 分店")); tx.commit(); }));
    ASSERT_EQ(h.msgs.errors.size(), 3);
    for (const QString &e : h.msgs.errors)
        EXPECT_TRUE(e.startsWith(kLost)) << e.toStdString();
    try {
        db.execute(QStringLiteral("select 1"));
        ADD_FAILURE() << "ran without a server";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.connectionLost());
    }

    ASSERT_TRUE(pg.restart());
    h.msgs.clear();
    EXPECT_TRUE(guarded([&] {
        list.exec();
        ASSERT_TRUE(list.next());
        EXPECT_EQ(list.integer(QStringLiteral("n")), 1);   // the delete above never happened
    }));
    EXPECT_TRUE(h.msgs.errors.isEmpty()) << h.msgs.errors.join(u'\n').toStdString();
    EXPECT_FALSE(db.connectionBroken());
    Transaction tx(db);
    Query(db).exec(QStringLiteral("insert into 分店 (分店) values ('二店')"));
    tx.commit();
    EXPECT_EQ(count(db, QStringLiteral("select count(*) as n from 分店")), 2);
}

// A posting cut off by the loss is rolled back by the server and reported as
// failed; the connection is not left inside the transaction.
TEST(ConnectionLoss, InterruptedPostingFailsAndLeavesNothing)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    OwnCluster pg;
    ASSERT_TRUE(pg.start());
    TestShop folder(Engine::SQLite, false);
    auto dm = openShopOn(pg, folder);
    Database &db = dm->ADOConnection1;

    struct Case { const char *what; bool statementAfterLoss; bool nested; };
    const Case cases[] = {
        {"commit right after the loss", false, false},
        {"statement after the loss", true, false},
        {"inner guard's statement after the loss", true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        bool threw = false;
        try {
            Transaction tx(db);
            Query(db).exec(QStringLiteral("insert into 分店 (分店) values ('半途')"));
            pg.stop();
            if (c.statementAfterLoss) {
                try {
                    std::optional<Transaction> inner;
                    if (c.nested) inner.emplace(db);
                    Query(db).exec(QStringLiteral("insert into 分店 (分店) values ('半途2')"));
                    if (inner) inner->commit();
                } catch (const DbError &e) {
                    EXPECT_TRUE(e.connectionLost()) << e.text().toStdString();
                }
            }
            tx.commit();   // whatever the caller did with the failure, this may not succeed
        } catch (const DbError &e) {
            threw = true;
            EXPECT_FALSE(e.text().isEmpty());
        }
        EXPECT_TRUE(threw);
        EXPECT_FALSE(db.inTransaction());
        ASSERT_TRUE(pg.restart());
        EXPECT_EQ(count(db, QStringLiteral("select count(*) as n from 分店")), 0);
    }
}

// A refused login at start-up says why in Chinese, with the server's text beneath;
// the same reason shows in the setup program's connection test.
TEST(ConnectionLoss, WrongPasswordAtStartUpSaysWhy)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    OwnCluster pg;
    ASSERT_TRUE(pg.start());
    Database::openPostgres(pg.params())->execute(QStringLiteral("CREATE DATABASE qvshop ENCODING 'UTF8' TEMPLATE template0"));
    ASSERT_TRUE(pg.requirePassword(QStringLiteral("正确的密码")));

    TestShop folder(Engine::SQLite, false);
    PgParams p = pg.params(QStringLiteral("qvshop"));
    p.password = QStringLiteral("错误的密码");
    writeNetworkKf(folder, p);
    try {
        TDM::open();
        FAIL() << "opened with a wrong password";
    } catch (const StartupError &e) {
        EXPECT_EQ(e.kind(), StartupError::Kind::ServerUnreachable);
        const QStringList lines = e.text().split(u'\n');
        ASSERT_GE(lines.size(), 3) << e.text().toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("连接失败，请您先进行数据库设置！！"));
        EXPECT_EQ(lines[1], QStringLiteral("服务器拒绝了登录：用户名或密码不正确。"));
        EXPECT_TRUE(e.text().contains(QStringLiteral("password authentication failed"))) << e.text().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("temp.mdb"))));

    ServerSettings s;
    s.mode = QStringLiteral("网络版");
    s.server = p.server;
    s.user = p.user;
    s.password = p.password;
    s.database = p.database;
    const auto tested = ServerSetup::testConnection(s);
    EXPECT_FALSE(tested.ok);
    EXPECT_TRUE(tested.message.startsWith(QStringLiteral("连接失败：服务器拒绝了登录：用户名或密码不正确。"))) << tested.message.toStdString();

    // With the right password the shop opens.
    p.password = QStringLiteral("正确的密码");
    writeNetworkKf(folder, p);
    auto dm = TDM::open();
    EXPECT_TRUE(dm->networkMode());
    EXPECT_TRUE(dm->ADOConnection1.tableExists(QStringLiteral("登陆")));
}

TEST(ConnectionFailure, ReasonsInChinese)
{
    struct Case { const char *server; const char *reason; };
    const Case cases[] = {
        {"connection to server at \"127.0.0.1\", port 5432 failed: FATAL:  password authentication failed for user \"shop\"",
         "服务器拒绝了登录：用户名或密码不正确。"},
        {"fe_sendauth: no password supplied", "服务器拒绝了登录：用户名或密码不正确。"},
        {"FATAL:  role \"shop\" does not exist", "服务器上没有这个用户名。"},
        {"FATAL:  database \"shop\" does not exist", "服务器上没有这个数据库。"},
        {"connection to server at \"127.0.0.1\", port 1 failed: Connection refused\n\tIs the server running on that host?",
         "无法连接到数据库服务器，请检查服务器地址、端口和网络，以及数据库服务器是否已经启动。"},
        {"could not translate host name \"nohost\" to address: Name or service not known", "找不到这个服务器名称，请检查服务器地址。"},
        {"something else entirely", "数据库服务器拒绝了连接。"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Database::connectionFailureReason(QString::fromUtf8(c.server)), QString::fromUtf8(c.reason)) << c.server;
}

// No error box is ever empty: a failure that comes without any text gets one.
TEST(ErrorText, FailuresWithoutTextGetAChineseText)
{
    EXPECT_EQ(DbError(QString()).text(), DbError::fallbackText());
    EXPECT_EQ(DbError(QStringLiteral("  \n")).text(), DbError::fallbackText());
    EXPECT_FALSE(DbError::fallbackText().isEmpty());
    Harness h;
    EXPECT_FALSE(guarded([] { throw std::runtime_error(""); }));
    EXPECT_FALSE(guarded([] { throw DbError(QString()); }));
    ASSERT_EQ(h.msgs.errors.size(), 2);
    for (const QString &e : h.msgs.errors) EXPECT_EQ(e, DbError::fallbackText());
}
