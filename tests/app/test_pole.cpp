#include "app/PoleDisplay.h"

#include <gtest/gtest.h>

TEST(PoleDisplay, CartTotalPayload)
{
    const QList<QByteArray> p = cartTotalPayload(QStringLiteral("178.5"));
    ASSERT_EQ(p.size(), 2);
    EXPECT_EQ(p[0].toHex(' '), QByteArray("1b 51 41 31 37 38 2e 35 0d"));
    EXPECT_EQ(p[1].toHex(' '), QByteArray("1b 73 32"));
    EXPECT_EQ(cartTotalPayload(QStringLiteral("-3"))[0].toHex(' '), QByteArray("1b 51 41 2d 33 0d"));
}

TEST(PoleDisplay, WithoutADisplayNothingHappens)
{
    com_rest();
    EXPECT_FALSE(poleDisplayOpen());
    EXPECT_FALSE(com_send(QByteArray("\x1B\x73\x32", 3)));   // before any com_init
    showCartTotal(QStringLiteral("12"));
    EXPECT_TRUE(openPoleDisplay(QStringLiteral("0")));       // "0": no display, nothing to open
    EXPECT_FALSE(poleDisplayOpen());
    EXPECT_FALSE(openPoleDisplay(QStringLiteral("abc")));    // not a number
    EXPECT_FALSE(com_init(0, 2400));
    EXPECT_FALSE(com_init(999, 2400));                       // no such device: fails at once
    EXPECT_FALSE(poleDisplayOpen());
    com_rest();
}
