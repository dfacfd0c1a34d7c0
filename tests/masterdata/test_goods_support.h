#pragma once

#include "app/Database.h"

#include <QStringList>
#include <QVariantList>

// Small helpers of the goods window tests: put rows in place and read them back.
namespace goodstest {

inline void run(Database &db, const QString &sql, const QVariantMap &params = {})
{
    Query q(db);
    q.prepare(sql);
    for (auto it = params.constBegin(); it != params.constEnd(); ++it) q.bind(it.key(), it.value());
    q.exec();
}

// One column of a statement's rows, as text ("" for null).
inline QStringList column(Database &db, const QString &sql, const QString &name)
{
    Query q(db);
    q.exec(sql);
    QStringList r;
    while (q.next()) r << q.text(name);
    return r;
}

inline qint64 count(Database &db, const QString &table)
{
    Query q(db);
    q.exec(QStringLiteral("select count(*) as n from ") + table);
    q.next();
    return q.integer(QStringLiteral("n"));
}

} // namespace goodstest
