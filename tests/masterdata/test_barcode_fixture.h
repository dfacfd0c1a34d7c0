#pragma once

#include "app/Database.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// Small catalogue builders shared by the barcode and label tests.
namespace barcodefixture {

using Codes = std::vector<std::pair<QString, QString>>;   // name -> code

inline void addSizes(Database &db, const QString &rule, const QStringList &sizes)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 尺码规则 (尺码规则) values (:r)"));
    q.bind(QStringLiteral("r"), rule).exec();
    q.prepare(QStringLiteral("insert into 商品尺码 (尺码规则,尺码,排序编号) values (:r,:s,:n)"));
    for (int i = 0; i < sizes.size(); ++i)
        q.bind(QStringLiteral("r"), rule).bind(QStringLiteral("s"), sizes[i]).bind(QStringLiteral("n"), i + 1).exec();
}

inline void addColours(Database &db, const QString &group, const QStringList &colours)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 颜色组 (颜色组) values (:g)"));
    q.bind(QStringLiteral("g"), group).exec();
    q.prepare(QStringLiteral("insert into 颜色列表 (颜色组,颜色) values (:g,:c)"));
    for (const QString &c : colours) q.bind(QStringLiteral("g"), group).bind(QStringLiteral("c"), c).exec();
}

inline qint64 addArticle(Database &db, const QString &name, const QString &articleNo, const QString &rule,
                         const QString &group, const QString &format, const QString &price = QStringLiteral("99"))
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 商品列表 (商品名称,货号,尺码规则,颜色组,条码格式,零售价格,数量) "
                             "values (:n,:h,:r,:g,:f,:p,0)"));
    q.bind(QStringLiteral("n"), name).bind(QStringLiteral("h"), articleNo).bind(QStringLiteral("r"), rule)
        .bind(QStringLiteral("g"), group).bind(QStringLiteral("f"), format).bind(QStringLiteral("p"), price).exec();
    q.exec(QStringLiteral("select max(id) as id from 商品列表"));
    q.next();
    return q.integer(QStringLiteral("id"));
}

inline void setCodes(Database &db, qint64 article, const Codes &sizeCodes, const Codes &colourCodes)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 尺码条码设置 (商品编号,尺码,条码) values (:a,:n,:c)"));
    for (const auto &[n, c] : sizeCodes) q.bind(QStringLiteral("a"), article).bind(QStringLiteral("n"), n).bind(QStringLiteral("c"), c).exec();
    q.prepare(QStringLiteral("insert into 颜色条码设置 (商品编号,颜色,条码) values (:a,:n,:c)"));
    for (const auto &[n, c] : colourCodes) q.bind(QStringLiteral("a"), article).bind(QStringLiteral("n"), n).bind(QStringLiteral("c"), c).exec();
}

inline void addBarcode(Database &db, qint64 article, const QString &articleNo, const QString &colour,
                       const QString &size, const QString &barcode)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 商品条码表 (商品编码,商品货号,颜色,尺码,商品条码) values (:a,:h,:c,:s,:b)"));
    q.bind(QStringLiteral("a"), article).bind(QStringLiteral("h"), articleNo).bind(QStringLiteral("c"), colour)
        .bind(QStringLiteral("s"), size).bind(QStringLiteral("b"), barcode).exec();
}

// Every barcode row as "商品编码/颜色/尺码/商品条码", in insertion order.
inline QStringList barcodeRows(Database &db)
{
    Query q(db);
    q.exec(QStringLiteral("select * from 商品条码表 order by id"));
    QStringList rows;
    while (q.next())
        rows << QStringLiteral("%1/%2/%3/%4").arg(q.text(QStringLiteral("商品编码")), q.text(QStringLiteral("颜色")),
                                                  q.text(QStringLiteral("尺码")), q.text(QStringLiteral("商品条码")));
    return rows;
}

} // namespace barcodefixture
