#include "app/SixBit.h"

#include <gtest/gtest.h>

TEST(SixBitCodec, KnownForms)
{
    struct Case { const char *plain; const char *encoded; };
    for (const Case &c : {Case{"", ""}, Case{"a", "TL"}, Case{"ab", "TRD"}, Case{"abc", "TRE_"}}) {
        EXPECT_EQ(EncodeSixBit(QString::fromLatin1(c.plain)), QString::fromLatin1(c.encoded)) << c.plain;
        EXPECT_EQ(DecodeSixBit(QString::fromLatin1(c.encoded)), QString::fromLatin1(c.plain)) << c.encoded;
    }
}

TEST(SixBitCodec, EncodedFormUsesOnlyTheSixtyFourCharactersFromLessThan)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QByteArray enc = EncodeSixBitBytes(all);
    EXPECT_EQ(enc.size(), 342);   // 255 bytes -> 340 characters, one more byte -> 2 more
    for (char c : enc) {
        EXPECT_GE(static_cast<unsigned char>(c), 60);
        EXPECT_LE(static_cast<unsigned char>(c), 123);
    }
    EXPECT_EQ(DecodeSixBitBytes(enc), all);
}

TEST(SixBitCodec, DigitsWrittenUnencodedDecodeToThemselves)
{
    EXPECT_EQ(DecodeSixBit(QStringLiteral("20121029")), QStringLiteral("20121029"));
    EXPECT_EQ(DecodeSixBit(QStringLiteral("123 456-7")), QStringLiteral("123 456-7"));
}

TEST(SixBitCodec, ChineseTextRoundTripsThroughGbk)
{
    const QString text = QStringLiteral("收银密码：店长ab12");
    const QString enc = EncodeSixBit(text);
    EXPECT_NE(enc, text);
    EXPECT_EQ(DecodeSixBit(enc), text);
    // Seven Chinese characters of two GBK bytes each and four ASCII bytes: 18 bytes.
    EXPECT_EQ(enc.size(), 24);
}

TEST(SixBitCodec, OutputStopsAtTenThousandCharacters)
{
    QByteArray input(7500, '\0');
    for (int i = 0; i < input.size(); ++i) input[i] = char('a' + i % 26);
    const QByteArray exact = EncodeSixBitBytes(input);
    EXPECT_EQ(exact.size(), 10000);
    EXPECT_EQ(DecodeSixBitBytes(exact), input);

    for (int extra : {1, 2, 3, 500}) {
        QByteArray longer = input;
        longer.append(QByteArray(extra, 'z'));
        EXPECT_EQ(EncodeSixBitBytes(longer), exact) << extra;
    }
    // Just below the limit the final one or two bytes still get their characters.
    EXPECT_EQ(EncodeSixBitBytes(input.left(7499)).size(), 9999);
    EXPECT_EQ(EncodeSixBitBytes(input.left(7498)).size(), 9998);
}
