#include "app/Password.h"

#include <gtest/gtest.h>

TEST(Password, HashesAreSaltedArgon2idAndVerify)
{
    const QString a = hashPassword(QStringLiteral("口令abc"));
    const QString b = hashPassword(QStringLiteral("口令abc"));
    EXPECT_TRUE(a.startsWith(QStringLiteral("$argon2id$")));
    EXPECT_NE(a, b);
    bool rehash = true;
    EXPECT_TRUE(verifyPassword(a, QStringLiteral("口令abc"), &rehash));
    EXPECT_FALSE(rehash);
    EXPECT_FALSE(verifyPassword(a, QStringLiteral("口令ABC")));
    EXPECT_TRUE(verifyPassword(hashPassword(QString()), QString()));
}

TEST(Password, PlainTextOfAnOlderDatabaseAsksForRehash)
{
    bool rehash = false;
    EXPECT_TRUE(verifyPassword(QStringLiteral("1234"), QStringLiteral("1234"), &rehash));
    EXPECT_TRUE(rehash);
    EXPECT_FALSE(verifyPassword(QStringLiteral("abc"), QStringLiteral("ABC"), &rehash));
    EXPECT_FALSE(rehash);
    EXPECT_TRUE(verifyPassword(QString(), QString(), &rehash));
    EXPECT_TRUE(rehash);
}
