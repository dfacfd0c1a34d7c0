#include "masterdata/Lookups.h"

QStringList SizesOfRule(Database &db, const QString &rule)
{
    Query q(db);
    q.prepare(QStringLiteral("select 尺码 from 商品尺码 where 尺码规则=:尺码规则 order by 排序编号,id"));
    q.bind(QStringLiteral("尺码规则"), rule).exec();
    QStringList sizes;
    while (q.next()) sizes << q.value(0).toString();
    return sizes;
}

QStringList ColoursOfGroup(Database &db, const QString &group)
{
    // Ordered by the key so both engines give the order of insertion.
    Query q(db);
    q.prepare(QStringLiteral("select 颜色 from 颜色列表 where 颜色组=:颜色组 order by id"));
    q.bind(QStringLiteral("颜色组"), group).exec();
    QStringList colours;
    while (q.next()) colours << q.value(0).toString();
    return colours;
}
