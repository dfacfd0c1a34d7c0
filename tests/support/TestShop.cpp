#include "support/TestShop.h"

#include "app/IniFile.h"
#include "app/Session.h"
#include "app/SixBit.h"
#include "ui/WindowRegistry.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {
QAtomicInt g_dbCounter;
}

std::vector<Engine> testEngines()
{
    return {Engine::SQLite, Engine::PostgreSQL};
}

void PrintTo(Engine e, std::ostream *os) { *os << engineName(e); }

std::string engineName(Engine e) { return e == Engine::SQLite ? "SQLite" : "PostgreSQL"; }

PgParams TestShop::pgServer()
{
    PgParams p;
    p.server = qEnvironmentVariable("QUENVAR_TEST_PG");
    p.user = qEnvironmentVariable("QUENVAR_TEST_PG_USER", QStringLiteral("postgres"));
    p.password = qEnvironmentVariable("QUENVAR_TEST_PG_PASSWORD");
    p.database = QStringLiteral("postgres");
    return p;
}

TestShop::TestShop(Engine engine, bool openNow) : engine_(engine)
{
    resetWindows();
    session() = Session{};
    paths().programDir = QStringLiteral(QV_BIN_DIR);
    paths().shopDir = dir_.path();
    if (engine == Engine::PostgreSQL) {
        PgParams admin = pgServer();
        if (admin.server.isEmpty())
            throw DbError(QStringLiteral("QUENVAR_TEST_PG is not set"));
        pgDatabase_ = QStringLiteral("qvtest_%1_%2").arg(QCoreApplication::applicationPid()).arg(g_dbCounter.fetchAndAddRelaxed(1));
        {
            auto maint = Database::openPostgres(admin);
            maint->execute(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(pgDatabase_));
            maint->execute(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(pgDatabase_));
        }
        IniFile kf(file(QStringLiteral("kf.ini")));
        kf.write(QStringLiteral("运行模式"), QStringLiteral("值"), QStringLiteral("网络版"));
        kf.write(QStringLiteral("服务器"), QStringLiteral("值"), admin.server);
        kf.write(QStringLiteral("用户名"), QStringLiteral("值"), admin.user);
        kf.write(QStringLiteral("密码"), QStringLiteral("值"), EncodeSixBit(admin.password));
        kf.write(QStringLiteral("数据库名"), QStringLiteral("值"), pgDatabase_);
    }
    if (openNow) open();
}

TDM &TestShop::open()
{
    dm_ = TDM::open();
    DM = dm_.get();
    // A PostgreSQL case that silently opened the SQLite file would prove nothing.
    if (dm_->ADOConnection1.engine() != engine_)
        throw DbError(QStringLiteral("the test shop opened on the wrong engine"));
    return *dm_;
}

void TestShop::close()
{
    resetWindows();
    dm_.reset();
    DM = nullptr;
}

TestShop::~TestShop()
{
    close();
    if (!pgDatabase_.isEmpty()) {
        try {
            auto maint = Database::openPostgres(pgServer());
            maint->execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(pgDatabase_));
        } catch (const DbError &) {
        }
    }
}
