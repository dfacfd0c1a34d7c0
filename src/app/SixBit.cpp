#include "app/SixBit.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr int kMaxEncoded = 10000;
}

QByteArray EncodeSixBitBytes(const QByteArray &bytes)
{
    QByteArray out;
    unsigned carry = 0;
    int s = 0;
    for (char ch : bytes) {
        if (out.size() >= kMaxEncoded) break;
        const unsigned b = static_cast<unsigned char>(ch);
        const unsigned x = ((b >> (s + 2)) | carry) & 63u;
        carry = ((b << (6 - s)) >> 2) & 63u;
        s += 2;
        if (s < 6) {
            out.append(char(60 + x));
        } else {
            out.append(char(60 + x));
            if (out.size() < kMaxEncoded) out.append(char(60 + carry));
            s = 0;
            carry = 0;
        }
    }
    if (s > 0 && out.size() < kMaxEncoded) out.append(char(60 + carry));
    return out;
}

QByteArray DecodeSixBitBytes(const QByteArray &encoded)
{
    static const unsigned mask[7] = {0, 0, 252, 0, 240, 0, 192};
    QByteArray out;
    unsigned a = 0;
    int k = 2, n = 0;
    for (char ch : encoded) {
        const unsigned c = static_cast<unsigned char>(ch);
        if (c < 60) {
            out.append(char(c));
            a = 0; k = 2; n = 0;
            continue;
        }
        const unsigned v = (c - 60) & 63u;
        if (n >= 2) {
            out.append(char((a | (v >> (6 - k))) & 0xFF));
            n = 0;
            if (k == 6) { k = 2; continue; }
            k += 2;
        }
        a = (v << k) & mask[k];
        n += 8 - k;
    }
    return out;
}

QString EncodeSixBit(const QString &text)
{
    QStringEncoder gbk("GBK");
    const QByteArray encoded = EncodeSixBitBytes(gbk.encode(text));
    return QString::fromLatin1(encoded);
}

QString DecodeSixBit(const QString &encoded)
{
    QStringEncoder gbkOut("GBK");
    QStringDecoder gbkIn("GBK");
    return gbkIn.decode(DecodeSixBitBytes(gbkOut.encode(encoded)));
}
