#pragma once

#include "app/Database.h"

#include <QString>
#include <functional>
#include <vector>

// Composes the barcodes of articles from their size and colour codes into
// 商品条码表. Each size-and-colour variant whose size code and colour code are
// both non-empty gets one barcode: 货号 followed by the two codes in the order the
// article's 条码格式 names.
class BarcodeGenerator {
public:
    // Called after each article with the number of articles done and their total.
    // Returning false cancels the whole generation: nothing is changed.
    using Progress = std::function<bool(int done, int total)>;

    struct Result {
        bool cancelled = false;
        int articles = 0;      // articles whose barcodes were rebuilt
        qint64 barcodes = 0;   // rows written to 商品条码表
    };

    explicit BarcodeGenerator(Database &db) : db_(db) {}

    // The barcode of one variant ("货号+尺码+颜色": 货号, size code, colour code;
    // any other format: 货号, colour code, size code). Empty when either code is empty.
    static QString compose(const QString &format, const QString &articleNo, const QString &sizeCode,
                           const QString &colourCode);

    // Replaces the barcodes of the given articles (and of no other article) with
    // the ones composed from their current codes, in one transaction: rows are
    // written article by article in the given order, size by size in size order,
    // colour by colour. A store error (thrown as DbError), an exception from the
    // progress callback or a cancel leaves 商品条码表 as it was.
    Result generate(const std::vector<qint64> &articleIds, const Progress &progress = {});

private:
    Database &db_;
};
