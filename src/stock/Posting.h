#pragma once

#include "app/Database.h"
#include "app/Money.h"

#include <QDateTime>
#include <QString>
#include <stdexcept>

// Everything a posting needs to know about who posts, where and when. Windows fill
// it from the operator session (fromSession); rules never read the session.
struct PostingContext {
    QString operatorName;           // CurrentUser
    QString branch;                 // CurrentBranch
    QDateTime moment;               // the moment of posting
    Money pointsDivisor = Money::fromInt(1);

    static PostingContext fromSession(const QDateTime &moment = QDateTime::currentDateTime());
};

// Input that cannot be posted (an amount that is not a number, an empty required
// value). The text is Chinese and says which value is wrong; nothing was written.
class InputError : public std::runtime_error {
public:
    explicit InputError(const QString &text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString &text() const { return text_; }
private:
    QString text_;
};

// Reads an amount or quantity strictly: text that is not a number throws InputError
// naming `label` ("<label>必须是数字！"); an empty value is 0 when emptyIsZero, else
// it throws too ("请输入<label>").
Money requireAmount(const QVariant &value, const QString &label, bool emptyIsZero = true);
// The same for a whole number (quantities of purchase documents): "<label>必须是整数！".
qint64 requireWholeNumber(const QVariant &value, const QString &label, bool emptyIsZero = true);

// The entry keys (临时码) that tie an article line to its size lines in the scratch
// tables: decimal text that never repeats on this workstation, also across restarts
// (the milliseconds since 1970, moved past the last key drawn and past the largest
// key the scratch database holds).
QString NextEntryKey(Database &scratch);
// The fixed key of the lines a barcode scanner enters into a purchase receipt.
inline QString scannedEntryKey() { return QStringLiteral("扫码"); }
