// A workstation that posts small stock documents through the number rule and the
// stock ledger, for the tests that run several of them at once against one shop.
//
//   qv_post_probe sqlite <data.mdb> <docs> <articleId>
//   qv_post_probe pg <host:port> <user> <database> <docs> <articleId>
//   ... hold   (instead of <docs>: posts half a document, prints HOLDING, waits to be killed)
//
// Document i is a purchase receipt of 2 pieces (S and M, one each) when i is even and
// a retail sale of one piece (S) when i is odd, into the warehouse "总仓".
#include "app/Database.h"
#include "stock/DocumentNumbers.h"
#include "stock/StockLedger.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

namespace {

const QString kWarehouse = QStringLiteral("总仓");

void purchase(Database &db, StockLedger &ledger, qint64 article, bool hold)
{
    Transaction tx(db);
    const DocumentNumber n = NextDocumentNumber(db, DocumentKind::PurchaseReceipt);
    Query h(db);
    h.prepare(QStringLiteral("insert into 出库入库总表 (单据编号,货单辅助编号,单据类型,填表日期,库房名称) "
                             "values (:n,:a,'采购入库',:d,:w)"));
    h.bind(QStringLiteral("n"), n.number).bind(QStringLiteral("a"), n.auxiliary)
        .bind(QStringLiteral("d"), QDate::currentDate()).bind(QStringLiteral("w"), kWarehouse).exec();
    const StockDescription d{QStringLiteral("探针"), QStringLiteral("P1"), QString()};
    ledger.AdjustArticleTotal(article, Money::fromInt(2));
    ledger.AdjustWarehouseStock(article, kWarehouse, Money::fromInt(2), d);
    ledger.AdjustSizeStock(article, kWarehouse, QStringLiteral("S"), QStringLiteral("红"), Money::fromInt(1), d);
    if (hold) {
        std::printf("HOLDING %s\n", qPrintable(n.number));
        std::fflush(stdout);
        for (;;) QThread::sleep(1);
    }
    ledger.AdjustSizeStock(article, kWarehouse, QStringLiteral("M"), QStringLiteral("红"), Money::fromInt(1), d);
    tx.commit();
}

void sale(Database &db, StockLedger &ledger, qint64 article)
{
    Transaction tx(db);
    const DocumentNumber n = NextDocumentNumber(db, DocumentKind::RetailSale);
    Query h(db);
    h.prepare(QStringLiteral("insert into 销售总表 (销售单号,销售辅助单号,销售类型,日期时间) values (:n,:a,'零售',:t)"));
    h.bind(QStringLiteral("n"), n.number).bind(QStringLiteral("a"), n.auxiliary)
        .bind(QStringLiteral("t"), QDateTime::currentDateTime()).exec();
    const StockDescription d{QStringLiteral("探针"), QStringLiteral("P1"), QStringLiteral("P1S红")};
    ledger.AdjustSizeStock(article, kWarehouse, QStringLiteral("S"), QStringLiteral("红"), Money::fromInt(-1), d, d);
    ledger.AdjustWarehouseStock(article, kWarehouse, Money::fromInt(-1));
    ledger.AdjustArticleTotal(article, Money::fromInt(-1));
    tx.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    try {
        std::unique_ptr<Database> db;
        int next;
        if (a.value(1) == u"sqlite") {
            db = Database::openSqlite(a.value(2));
            next = 3;
        } else {
            PgParams p;
            p.server = a.value(2);
            p.user = a.value(3);
            p.database = a.value(4);
            db = Database::openPostgres(p);
            next = 5;
        }
        const qint64 article = a.value(next + 1).toLongLong();
        StockLedger ledger(*db);
        if (a.value(next) == u"hold") {
            purchase(*db, ledger, article, true);
            return 0;
        }
        const int docs = a.value(next).toInt();
        for (int i = 0; i < docs; ++i) {
            if (i % 2 == 0) purchase(*db, ledger, article, false);
            else sale(*db, ledger, article);
        }
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
