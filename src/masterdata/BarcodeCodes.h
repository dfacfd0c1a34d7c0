#pragma once

#include "app/Database.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The size codes and colour codes of an article (尺码条码设置, 颜色条码设置), from
// which the barcode generator composes its barcodes. An article's codes are
// replaced as a whole: the code editor hands over every colour and size the
// article has, each with its code (an empty code is stored as empty).
class BarcodeCodes {
public:
    using Codes = std::vector<std::pair<QString, QString>>;   // name (colour or size) -> code

    explicit BarcodeCodes(Database &db) : db_(db) {}

    // The stored codes of the given colours (sizes) of an article, in the order of
    // the names; "" for a name without a stored code. Codes stored for names not
    // given are left out.
    QStringList colourCodes(qint64 article, const QStringList &colours);
    QStringList sizeCodes(qint64 article, const QStringList &sizes);

    // Replaces the article's colour codes and size codes in one transaction: the
    // old ones of both kinds are deleted and the given ones inserted in the order
    // given, colours first. A store error (thrown as DbError) leaves both tables as
    // they were. The change is announced once the transaction has committed.
    void save(qint64 article, const Codes &colours, const Codes &sizes);

private:
    QStringList codes(const QString &table, const QString &nameColumn, qint64 article, const QStringList &names);
    Database &db_;
};
