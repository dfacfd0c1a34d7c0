#include "app/Money.h"

#include <gtest/gtest.h>

namespace {
Money m(const char *s) { return Money::parse(QString::fromUtf8(s)).value(); }
}

TEST(Money, ParsesAndShowsShortestForm)
{
    const struct { const char *in; const char *shown; const char *sql; } cases[] = {
        {"178.5", "178.5", "178.5000"},   {"0", "0", "0.0000"},         {"-3", "-3", "-3.0000"},
        {" 12.30 ", "12.3", "12.3000"},   {"+0.00005", "0", "0.0000"},  {"0.00015", "0.0002", "0.0002"},
        {"1.23456", "1.2346", "1.2346"},  {"-0.5", "-0.5", "-0.5000"},  {".5", "0.5", "0.5000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(m(c.in).toString(), QString::fromUtf8(c.shown));
        EXPECT_EQ(m(c.in).toSqlText(), QString::fromUtf8(c.sql));
    }
    for (const char *bad : {"", "abc", "1.2.3", "12元", "1e5", "-", "一千五"})
        EXPECT_FALSE(Money::parse(QString::fromUtf8(bad))) << bad;
}

TEST(Money, ProductsAndQuotientsRoundHalvesToEven)
{
    EXPECT_EQ((m("0.0001") * m("0.5")).toSqlText(), QStringLiteral("0.0000"));   // 0.00005 -> even 0
    EXPECT_EQ((m("0.0003") * m("0.5")).toSqlText(), QStringLiteral("0.0002"));   // 0.00015 -> even 0.0002
    EXPECT_EQ((m("178.5") * m("0.85")).toString(), QStringLiteral("151.725"));
    EXPECT_EQ((m("10") / m("3")).toSqlText(), QStringLiteral("3.3333"));
    EXPECT_EQ((m("-10") / m("3")).toSqlText(), QStringLiteral("-3.3333"));
    EXPECT_EQ((m("1") / m("0")).toString(), QStringLiteral("0"));
    EXPECT_EQ((m("0.1") + m("0.2")).toString(), QStringLiteral("0.3"));
}

TEST(Money, ReadsStoredValuesOfBothEngines)
{
    EXPECT_EQ(Money::fromVariant(QVariant(12.5)).toString(), QStringLiteral("12.5"));       // SQLite REAL
    EXPECT_EQ(Money::fromVariant(QVariant(0.1 + 0.2)).toString(), QStringLiteral("0.3"));
    EXPECT_EQ(Money::fromVariant(QVariant(qlonglong(7))).toString(), QStringLiteral("7"));  // SQLite INTEGER
    EXPECT_EQ(Money::fromVariant(QVariant(QStringLiteral("1500.1250"))).toString(), QStringLiteral("1500.125"));  // PostgreSQL numeric
    EXPECT_EQ(Money::fromVariant(QVariant()).toString(), QStringLiteral("0"));
}
