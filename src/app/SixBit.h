#pragma once

#include <QByteArray>
#include <QString>

// Reversible six-bit text form for passwords kept outside the program (the server
// password in kf.ini, the SMS account password). Each 6-bit group of the text's
// GBK bytes becomes one character from '<' (60) upwards; no key, no filler.
QByteArray EncodeSixBitBytes(const QByteArray &bytes);
QByteArray DecodeSixBitBytes(const QByteArray &encoded);

// Text forms: the text is taken as GBK bytes.
QString EncodeSixBit(const QString &text);
QString DecodeSixBit(const QString &encoded);
