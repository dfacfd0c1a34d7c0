#include "StockFixture.h"

#include "app/Login.h"
#include "app/Password.h"
#include "support/TestShop.h"

#include <gtest/gtest.h>

class LoginOnEngines : public ::testing::TestWithParam<Engine> {};

namespace {

QString storedPassword(Database &db, const QString &user)
{
    Query q(db);
    q.prepare(QStringLiteral("select 密码 from 登陆 where 用户=:u"));
    q.bind(QStringLiteral("u"), user).exec();
    return q.next() ? q.text(QStringLiteral("密码")) : QStringLiteral("<none>");
}

} // namespace

TEST_P(LoginOnEngines, OutcomesOfTheLookupAndThePassword)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    fixture::addOperator(db, QStringLiteral("王芳"), hashPassword(QStringLiteral("Secret1")), QStringLiteral("东门店"),
                         {QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("111"), QString(),
                          QStringLiteral("1101")});

    struct Case {
        const char *user;
        const char *password;
        login::Outcome outcome;
    };
    const Case cases[] = {
        {"nobody", "", login::Outcome::NoSuchUser},
        {"", "", login::Outcome::NoSuchUser},
        {"admin", "x", login::Outcome::WrongPassword},
        {"admin", "", login::Outcome::Ok},                 // a new shop's operator has an empty password
        {"ADMIN", "", login::Outcome::Ok},                 // the name ignores letter case
        {"王芳", "secret1", login::Outcome::WrongPassword},  // the password does not
        {"王芳", "Secret1", login::Outcome::Ok},
        {"王芳 ", "Secret1", login::Outcome::NoSuchUser},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.user) + "/" + c.password);
        const login::Result r = login::check(db, QString::fromUtf8(c.user), QString::fromUtf8(c.password));
        EXPECT_EQ(r.outcome, c.outcome);
    }
    const login::Result r = login::check(db, QStringLiteral("王芳"), QStringLiteral("Secret1"));
    EXPECT_EQ(r.branch, QStringLiteral("东门店"));
    EXPECT_EQ(r.rights, (QStringList{QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("111"), QString(),
                                     QStringLiteral("1101")}));
    EXPECT_EQ(login::readRights(db, QStringLiteral("王芳")), r.rights);
}

TEST_P(LoginOnEngines, ExactSpellingWinsOverACaseVariant)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    fixture::addOperator(shop.db(), QStringLiteral("Admin"), hashPassword(QStringLiteral("other")),
                         QStringLiteral("西门店"));
    EXPECT_EQ(login::check(shop.db(), QStringLiteral("Admin"), QStringLiteral("other")).branch, QStringLiteral("西门店"));
    EXPECT_EQ(login::check(shop.db(), QStringLiteral("admin"), QString()).branch, QStringLiteral("总部"));
    // Neither spelling: the older operator.
    EXPECT_EQ(login::check(shop.db(), QStringLiteral("ADMIN"), QString()).outcome, login::Outcome::Ok);
}

TEST_P(LoginOnEngines, PlainTextPasswordIsReplacedByItsHashOnLogin)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    fixture::addOperator(db, QStringLiteral("cashier"), QStringLiteral("1234"));

    EXPECT_EQ(login::check(db, QStringLiteral("cashier"), QStringLiteral("12345")).outcome, login::Outcome::WrongPassword);
    EXPECT_EQ(storedPassword(db, QStringLiteral("cashier")), QStringLiteral("1234"));   // untouched on failure

    EXPECT_EQ(login::check(db, QStringLiteral("CASHIER"), QStringLiteral("1234")).outcome, login::Outcome::Ok);
    const QString stored = storedPassword(db, QStringLiteral("cashier"));
    EXPECT_TRUE(isPasswordHash(stored)) << stored.toStdString();
    EXPECT_TRUE(verifyPassword(stored, QStringLiteral("1234")));
    // The hash keeps working, the old plain text is gone.
    EXPECT_EQ(login::check(db, QStringLiteral("cashier"), QStringLiteral("1234")).outcome, login::Outcome::Ok);
    EXPECT_EQ(login::check(db, QStringLiteral("cashier"), stored).outcome, login::Outcome::WrongPassword);
}

TEST(LoginGates, TwentyEntriesInRightsOrder)
{
    const auto &g = login::gates();
    ASSERT_EQ(g.size(), 20u);
    EXPECT_STREQ(g.front().entry, "N3");
    EXPECT_EQ(g[17].group, 5);
    EXPECT_EQ(g[17].position, 2);
    EXPECT_STREQ(g[17].entry, "N9");
}

INSTANTIATE_TEST_SUITE_P(Engines, LoginOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());
