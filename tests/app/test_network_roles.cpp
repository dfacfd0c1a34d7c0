#include "app/IniFile.h"
#include "app/SchemaUpgrade.h"
#include "app/ServerSetup.h"
#include "app/Session.h"
#include "app/Udm.h"
#include "stock/DocumentNumbers.h"
#include "stock/StockLedger.h"
#include "ServerFixture.h"
#include "support/TestShop.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString runName(const char *tag)
{
    return QStringLiteral("qv%1_%2").arg(QLatin1String(tag)).arg(QCoreApplication::applicationPid());
}

// A shop database created by the setup program with a workstation login; the
// database and the login are removed again at the end (logins belong to the
// whole server).
struct WorkstationShop {
    QString database = runName("roles_db");
    WorkstationLogin login{runName("kasse"), QStringLiteral("收银'密码")};

    ServerSettings admin() const { return testServer(database); }
    ServerSettings workstation() const
    {
        ServerSettings s = admin();
        s.user = login.user;
        s.password = login.password;
        return s;
    }
    WorkstationShop() { drop(); }
    ~WorkstationShop() { drop(); }
    void drop()
    {
        try {
            auto server = Database::openPostgres(TestShop::pgServer());
            server->execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
            server->execute(QStringLiteral("DROP ROLE IF EXISTS %1").arg(login.user));
        } catch (const DbError &) {
        }
    }
};

QStringList column(Database &db, const QString &sql)
{
    Query q(db);
    q.exec(sql);
    QStringList out;
    while (q.next()) out << q.text(q.columns().first());
    return out;
}

void expectRefused(Database &db, const QString &sql)
{
    try {
        db.execute(sql);
        ADD_FAILURE() << "allowed: " << sql.toStdString();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.insufficientPrivilege()) << sql.toStdString() << ": " << e.text().toStdString();
        EXPECT_FALSE(e.connectionLost());
    }
}

} // namespace

// The setup program creates the shop with a workstation login and writes that
// login (not the administrator's) into kf.ini, readable by its owner only. The
// workstation posts, but cannot change or drop the tables.
TEST(WorkstationLogin, PostsButCannotChangeTheTables)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    WorkstationShop ws;
    const auto created = ServerSetup::createDatabase(ws.admin(), ws.login);
    ASSERT_TRUE(created.ok) << created.message.toStdString();

    TestShop shop(Engine::PostgreSQL, false);
    const QString kf = shop.file(QStringLiteral("kf.ini"));
    QFile::remove(kf);
    QString error;
    ASSERT_TRUE(ServerSetup(kf).save(ws.workstation(), &error)) << error.toStdString();
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFileInfo(kf).permissions() & others, QFileDevice::Permissions());
    EXPECT_TRUE(QFileInfo(kf).permissions().testFlag(QFileDevice::ReadOwner));
    EXPECT_EQ(IniFile(kf).read(QStringLiteral("用户名"), QStringLiteral("值"), QString()), ws.login.user);

    TDM &dm = shop.open();
    // The start-up's index check fails quietly for a login that may not add indexes.
    EXPECT_TRUE(dm.notices.isEmpty()) << dm.notices.join(u'\n').toStdString();
    Database &db = dm.ADOConnection1;
    EXPECT_EQ(column(db, QStringLiteral("select current_user as u")), QStringList{ws.login.user});

    // A posting: number, header, article, stock; then an edit and a delete.
    {
        Transaction tx(db);
        const DocumentNumber n = NextDocumentNumber(db, DocumentKind::PurchaseReceipt, QDate(2026, 1, 5));
        Query q(db);
        q.prepare(QStringLiteral("insert into 出库入库总表 (单据编号,货单辅助编号,单据类型,库房名称) values (:n,:a,'进货','总仓')"));
        q.bind(QStringLiteral("n"), n.number).bind(QStringLiteral("a"), n.auxiliary).exec();
        q.prepare(QStringLiteral("insert into 商品列表 (商品名称,数量) values ('衬衫',0) returning id"));
        const qint64 article = q.execReturningKey();
        StockLedger ledger(db);
        EXPECT_TRUE(ledger.AdjustArticleTotal(article, Money::fromInt(3)));
        ledger.AdjustWarehouseStock(article, QStringLiteral("总仓"), Money::fromInt(3));
        ledger.AdjustSizeStock(article, QStringLiteral("总仓"), QStringLiteral("M"), QStringLiteral("白"), Money::fromInt(3));
        tx.commit();
        EXPECT_EQ(n.number, QStringLiteral("JH2026010501"));
    }
    Query(db).exec(QStringLiteral("update 商品列表 set 商品名称='衬衫二'"));
    EXPECT_EQ(column(db, QStringLiteral("select 商品名称 from 商品列表")), QStringList{QStringLiteral("衬衫二")});
    EXPECT_EQ(column(db, QStringLiteral("select 数量 from 库存尺码表")), QStringList{QStringLiteral("3")});
    Query(db).exec(QStringLiteral("delete from 出库入库总表"));

    expectRefused(db, QStringLiteral("DROP TABLE 商品列表"));
    expectRefused(db, QStringLiteral("ALTER TABLE 分店 ADD 电话 TEXT"));
    expectRefused(db, QStringLiteral("CREATE TABLE 另一张表 (x integer)"));
    expectRefused(db, QStringLiteral("CREATE INDEX ix_test ON 分店 (分店)"));
    EXPECT_TRUE(db.tableExists(QStringLiteral("商品列表")));
}

// An existing login with administrative rights is never turned into the workstations'.
TEST(WorkstationLogin, AnAdministratorsLoginIsNotTakenOver)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    WorkstationShop ws;
    Database::openPostgres(TestShop::pgServer())->execute(QStringLiteral("CREATE ROLE %1 LOGIN CREATEDB").arg(ws.login.user));
    const auto r = ServerSetup::createDatabase(ws.admin(), ws.login);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("不能作为工作站的登录"))) << r.message.toStdString();
    // Nothing of the shop was made in the database either.
    PgParams p = ws.admin().params();
    EXPECT_FALSE(Database::openPostgres(p)->tableExists(QStringLiteral("登陆")));
}

// A patch the workstation's login may not run: the version is not raised past it;
// the owner's login, asked for once, completes the upgrade.
TEST(WorkstationLogin, RefusedPatchIsNotPassedOverAndTheOwnerCompletesIt)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    WorkstationShop ws;
    ASSERT_TRUE(ServerSetup::createDatabase(ws.admin(), ws.login).ok);
    TestShop shop(Engine::PostgreSQL, false);
    QString error;
    ASSERT_TRUE(ServerSetup(shop.file(QStringLiteral("kf.ini"))).save(ws.workstation(), &error));

    QTemporaryDir program;
    writePatchDatabase(program.filePath(QStringLiteral("buding.mdb")), {
        {QStringLiteral("201401010000"), QStringLiteral("sql"), QStringLiteral("insert into 分店 (分店) values ('A')")},
        {QStringLiteral("201402010000"), QStringLiteral("sql"), QStringLiteral("ALTER TABLE 分店 ADD 电话 TEXT")},
        {QStringLiteral("201403010000"), QStringLiteral("sql"), QStringLiteral("insert into 分店 (分店) values ('C')")},
    });
    paths().programDir = program.path();

    auto version = [](Database &db) { return column(db, QStringLiteral("select 版本号 from 版本号")); };
    auto branches = [](Database &db) { return column(db, QStringLiteral("select 分店 from 分店 order by id")); };

    // No owner's login given: told to run the setup program; the version stops below the refused patch.
    int asked = 0;
    QString why;
    auto declined = TDM::open([&](const QString &w) -> std::optional<TDM::OwnerLogin> { ++asked; why = w; return std::nullopt; });
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(why.contains(ws.login.user)) << why.toStdString();
    ASSERT_EQ(declined->notices.size(), 1);
    EXPECT_TRUE(declined->notices[0].contains(QStringLiteral("升级数据库"))) << declined->notices[0].toStdString();
    EXPECT_EQ(version(declined->ADOConnection1), QStringList{QStringLiteral("201401010000")});
    EXPECT_EQ(branches(declined->ADOConnection1), QStringList{QStringLiteral("A")});
    declined.reset();

    // Without anyone to ask (and again at the next start) the same: nothing is passed over, nothing runs twice.
    auto unasked = TDM::open();
    EXPECT_EQ(version(unasked->ADOConnection1), QStringList{QStringLiteral("201401010000")});
    EXPECT_EQ(branches(unasked->ADOConnection1), QStringList{QStringLiteral("A")});
    unasked.reset();

    // A wrong owner's login: reported, still not passed over.
    auto wrong = TDM::open([&](const QString &) { return std::optional<TDM::OwnerLogin>(TDM::OwnerLogin{ws.login.user, ws.login.password}); });
    ASSERT_EQ(wrong->notices.size(), 1);
    EXPECT_EQ(version(wrong->ADOConnection1), QStringList{QStringLiteral("201401010000")});
    wrong.reset();

    // The owner's login completes it, and is not written anywhere.
    const PgParams owner = TestShop::pgServer();
    auto done = TDM::open([&](const QString &) { return std::optional<TDM::OwnerLogin>(TDM::OwnerLogin{owner.user, owner.password}); });
    EXPECT_TRUE(done->notices.isEmpty()) << done->notices.join(u'\n').toStdString();
    EXPECT_EQ(version(done->ADOConnection1), QStringList{QStringLiteral("201403010000")});
    EXPECT_EQ(branches(done->ADOConnection1), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
    EXPECT_NO_THROW(Query(done->ADOConnection1).exec(QStringLiteral("select 电话 from 分店")));
    EXPECT_EQ(IniFile(shop.file(QStringLiteral("kf.ini"))).read(QStringLiteral("用户名"), QStringLiteral("值"), QString()), ws.login.user);
}

// The setup program's upgrade with the owner's login does the same work.
TEST(WorkstationLogin, SetupProgramUpgradesWithTheOwnersLogin)
{
    QV_REQUIRE_ENGINE(Engine::PostgreSQL);
    WorkstationShop ws;
    ASSERT_TRUE(ServerSetup::createDatabase(ws.admin(), ws.login).ok);
    QTemporaryDir program;
    writePatchDatabase(program.filePath(QStringLiteral("buding.mdb")), {
        {QStringLiteral("201402010000"), QStringLiteral("sql"), QStringLiteral("ALTER TABLE 分店 ADD 电话 TEXT")},
    });
    paths().programDir = program.path();

    const auto refused = ServerSetup::upgradeDatabase(ws.workstation());
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.message.contains(QStringLiteral("所有者"))) << refused.message.toStdString();
    const auto done = ServerSetup::upgradeDatabase(ws.admin());
    EXPECT_TRUE(done.ok) << done.message.toStdString();
    auto db = Database::openPostgres(ws.workstation().params());
    EXPECT_EQ(column(*db, QStringLiteral("select 版本号 from 版本号")), QStringList{QStringLiteral("201402010000")});
    EXPECT_NO_THROW(Query(*db).exec(QStringLiteral("select 电话 from 分店")));
}
