#pragma once

#include "app/Database.h"

#include <QDate>
#include <QString>

// The kinds of numbered documents, each counted on its own per day.
enum class DocumentKind { PurchaseReceipt, PurchaseReturn, StockCount, RetailSale, Wholesale };

struct DocumentNumber {
    QString auxiliary;   // "yyyyMMdd" + the day's counter: "2026121101", "202612110001"
    QString number;      // the kind's prefix + auxiliary: "JH2026121101", "LS202612110001"
};

// The kind's number prefix ("JH", "TH", "PD", "LS", "PF") and counter digits (2 or 4).
QString documentPrefix(DocumentKind kind);
int counterDigits(DocumentKind kind);

// Draws the next number of the kind for the day `today` (the date part of every
// number is the day it is drawn, also for a back-dated purchase document).
//
// Must be called inside the transaction that stores the document: it takes the
// postings lock (Database::lockPostings) that the database holds until that
// transaction ends, so two workstations never draw the same number. The day's
// largest counter is found among the kind's stored numbers by its numeric value,
// and past 99 (or 9999) documents a day the counter simply grows a digit ("…99" is
// followed by "…100"), so numbers stay unique and increasing and never run into the
// date digits; a number already stored is never drawn again.
DocumentNumber NextDocumentNumber(Database &db, DocumentKind kind, const QDate &today = QDate::currentDate());

// Makes sure the number columns (出库入库总表.单据编号, 销售总表.销售单号,
// 库存盘点总表.盘点编号) have their unique indexes. Where a database already holds
// a repeated number the index cannot be added: the repeated numbers are returned
// (as "表.列: 编号, 编号"), one entry per column, and nothing is changed.
QStringList ensureUniqueDocumentNumbers(Database &db);
