#pragma once

#include "app/Database.h"
#include "app/Udm.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// The engines the rule tests run on: SQLite, and PostgreSQL. The PostgreSQL cases
// run when the test environment names a server (QUENVAR_TEST_PG="host:port"; the
// test command starts one) and fail when it cannot be reached; without the
// variable (a bare run of a test program) they are skipped.
std::vector<Engine> testEngines();
std::string engineName(Engine e);
void PrintTo(Engine e, std::ostream *os);
// Call first in a test that takes an engine: skips PostgreSQL without a server.
#define QV_REQUIRE_ENGINE(engine)                                                         \
    do {                                                                                  \
        if ((engine) == Engine::PostgreSQL && qEnvironmentVariableIsEmpty("QUENVAR_TEST_PG")) \
            GTEST_SKIP() << "QUENVAR_TEST_PG is not set";                                 \
    } while (0)
// gtest parameter-name printer: INSTANTIATE_TEST_SUITE_P(E, X, ValuesIn(testEngines()), engineParamName)
struct EngineParamName {
    template <class P> std::string operator()(const P &info) const { return engineName(info.param); }
};

// A new, empty shop in a temporary folder, opened as the program opens it: on
// SQLite (data.mdb and temp.mdb) or on a fresh PostgreSQL database with kf.ini in
// network mode. Sets paths(), a fresh session() and DM; undoes all of it at the end.
class TestShop {
public:
    explicit TestShop(Engine engine = Engine::SQLite, bool open = true);
    ~TestShop();

    QString dir() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    Engine engine() const { return engine_; }
    // Opens the shop (TDM::open) if the constructor was told not to.
    TDM &open();
    TDM &dm() { return *dm_; }
    Database &db() { return dm_->ADOConnection1; }
    Database &temp() { return dm_->ADOtemp; }
    // Closes the data module (the files stay) so a test can reopen or spoil them.
    void close();

    // The server of the test environment; database left empty.
    static PgParams pgServer();
    // Name of the PostgreSQL database of this shop ("" on SQLite).
    const QString &pgDatabase() const { return pgDatabase_; }

private:
    QTemporaryDir dir_;
    Engine engine_;
    QString pgDatabase_;
    std::unique_ptr<TDM> dm_;
};
