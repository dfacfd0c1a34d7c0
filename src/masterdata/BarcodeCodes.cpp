#include "masterdata/BarcodeCodes.h"

#include "app/Notices.h"

QStringList BarcodeCodes::codes(const QString &table, const QString &nameColumn, qint64 article, const QStringList &names)
{
    QStringList out(names.size(), QString());
    Query q(db_);
    q.prepare(QStringLiteral("select * from %1 where 商品编号=:商品编号 order by id").arg(table));
    q.bind(QStringLiteral("商品编号"), article).exec();
    while (q.next()) {
        const int i = names.indexOf(q.text(nameColumn));
        if (i >= 0) out[i] = q.text(QStringLiteral("条码"));
    }
    return out;
}

QStringList BarcodeCodes::colourCodes(qint64 article, const QStringList &colours)
{
    return codes(QStringLiteral("颜色条码设置"), QStringLiteral("颜色"), article, colours);
}

QStringList BarcodeCodes::sizeCodes(qint64 article, const QStringList &sizes)
{
    return codes(QStringLiteral("尺码条码设置"), QStringLiteral("尺码"), article, sizes);
}

void BarcodeCodes::save(qint64 article, const Codes &colours, const Codes &sizes)
{
    Transaction tx(db_);
    Query q(db_);
    q.prepare(QStringLiteral("delete from 颜色条码设置 where 商品编号=:商品编号"));
    q.bind(QStringLiteral("商品编号"), article).exec();
    q.prepare(QStringLiteral("delete from 尺码条码设置 where 商品编号=:商品编号"));
    q.bind(QStringLiteral("商品编号"), article).exec();
    q.prepare(QStringLiteral("insert into 颜色条码设置 (商品编号,颜色,条码) values (:商品编号,:颜色,:条码)"));
    for (const auto &[colour, code] : colours)
        q.bind(QStringLiteral("商品编号"), article).bind(QStringLiteral("颜色"), colour).bind(QStringLiteral("条码"), code).exec();
    q.prepare(QStringLiteral("insert into 尺码条码设置 (商品编号,尺码,条码) values (:商品编号,:尺码,:条码)"));
    for (const auto &[size, code] : sizes)
        q.bind(QStringLiteral("商品编号"), article).bind(QStringLiteral("尺码"), size).bind(QStringLiteral("条码"), code).exec();
    announceChange(db_, ChangeNotices::MasterData, QStringLiteral("颜色条码设置"));
    announceChange(db_, ChangeNotices::MasterData, QStringLiteral("尺码条码设置"));
    tx.commit();
}
