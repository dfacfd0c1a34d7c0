#include "app/StockOverview.h"

namespace overview {

const char *const kAllWarehouses = "所有仓库";

bool Filter::singleWarehouse() const
{
    return !warehouse.isEmpty() && warehouse != QString::fromUtf8(kAllWarehouses);
}

namespace {

// The conditions both modes share, appended to "where 1=1".
QString conditions(const Filter &f, QVariantMap &params)
{
    QString sql;
    if (f.singleWarehouse()) {
        sql += QStringLiteral(" and 库房名称=:库房名称");
        params.insert(QStringLiteral("库房名称"), f.warehouse);
    }
    if (!f.articleNo.isEmpty()) {
        sql += QStringLiteral(" and 货号 like :货号");
        params.insert(QStringLiteral("货号"), QString(u'%' + f.articleNo + u'%'));
    }
    return sql;
}

Query &run(Query &q, const Statement &st)
{
    q.prepare(st.sql);
    for (auto it = st.params.constBegin(); it != st.params.constEnd(); ++it) q.bind(it.key(), it.value());
    return q.exec();
}

QString numberText(const QVariant &v)
{
    return Money::fromVariant(v).toString();
}

} // namespace

Statement modeOne(const Filter &f)
{
    Statement st;
    st.sql = QStringLiteral("select 商品编码,商品名称,sum(数量) as 数量,货号 from 库存总表 where 1=1")
             + conditions(f, st.params)
             + QStringLiteral(" group by 商品编码,商品名称,货号 order by 商品编码");
    return st;
}

Statement modeTwo(const Filter &f)
{
    Statement st;
    st.sql = QStringLiteral("select * from 库存尺码表 where 1=1") + conditions(f, st.params)
             + QStringLiteral(" order by 商品编码,商品名称,库房名称");
    return st;
}

QString modeTwoSum(Database &db, const Filter &f)
{
    Statement st;
    st.sql = QStringLiteral("select sum(数量) as 数量 from 库存尺码表 where 1=1") + conditions(f, st.params);
    Query q(db);
    run(q, st);
    return q.next() ? numberText(q.value(QStringLiteral("数量"))) : QStringLiteral("0");
}

QStringList warehouses(Database &db)
{
    QStringList names;
    Query q(db);
    q.exec(QStringLiteral("select * from 库房名称 order by id"));
    while (q.next()) names << q.text(QStringLiteral("库房名称"));
    return names;
}

Breakdown breakdown(Database &db, qint64 article, const Filter &f)
{
    Breakdown b;
    Query q(db);
    q.prepare(QStringLiteral("select * from 商品列表 where id=:id"));
    q.bind(QStringLiteral("id"), article);
    q.exec();
    QString rule, group;
    if (q.next()) {
        rule = q.text(QStringLiteral("尺码规则"));
        group = q.text(QStringLiteral("颜色组"));
    }

    q.prepare(QStringLiteral("select * from 商品尺码 where 尺码规则=:尺码规则 order by 排序编号,id"));
    q.bind(QStringLiteral("尺码规则"), rule);
    q.exec();
    while (q.next()) b.sizes << q.text(QStringLiteral("尺码"));

    q.prepare(QStringLiteral("select * from 颜色列表 where 颜色组=:颜色组 order by id"));
    q.bind(QStringLiteral("颜色组"), group);
    q.exec();
    while (q.next()) b.colours << q.text(QStringLiteral("颜色"));

    b.cells.assign(b.colours.size(), QStringList(b.sizes.size(), QString()));
    Statement st;
    st.sql = QStringLiteral("select 商品编码,商品尺码,颜色,sum(数量) as 数量 from 库存尺码表 where 商品编码=:商品编码");
    st.params.insert(QStringLiteral("商品编码"), article);
    if (f.singleWarehouse()) {
        st.sql += QStringLiteral(" and 库房名称=:库房名称");
        st.params.insert(QStringLiteral("库房名称"), f.warehouse);
    }
    st.sql += QStringLiteral(" group by 商品编码,商品尺码,颜色");
    run(q, st);
    while (q.next()) {
        const int col = b.sizes.indexOf(q.text(QStringLiteral("商品尺码")));
        const int row = b.colours.indexOf(q.text(QStringLiteral("颜色")));
        if (col >= 0 && row >= 0) b.cells[row][col] = numberText(q.value(QStringLiteral("数量")));
    }
    return b;
}

Takings takings(Database &db, const QDate &day)
{
    Takings t;
    Query q(db);
    // Half-open, bound as days: a sale at exactly midnight belongs to the day it
    // starts, never also to the day before.
    q.prepare(QStringLiteral("select sum(数量) as cc from 销售明细表 where 日期时间>=:sj1 and 日期时间<:sj2"));
    q.bind(QStringLiteral("sj1"), day);
    q.bind(QStringLiteral("sj2"), day.addDays(1));
    q.exec();
    t.pieces = q.next() ? numberText(q.value(QStringLiteral("cc"))) : QStringLiteral("0");

    q.prepare(QStringLiteral("select sum(折后金额) as 折后金额,sum(现金收入) as 现金收入,sum(账户支付) as 账户支付,"
                             "sum(代金卷) as 代金卷,sum(信用卡收取) as 信用卡收取 from 销售总表 "
                             "where 日期时间>=:sj1 and 日期时间<:sj2"));
    q.bind(QStringLiteral("sj1"), day);
    q.bind(QStringLiteral("sj2"), day.addDays(1));
    q.exec();
    if (q.next()) {
        t.discounted = q.money(QStringLiteral("折后金额"));
        t.cash = q.money(QStringLiteral("现金收入"));
        t.account = q.money(QStringLiteral("账户支付"));
        t.voucher = q.money(QStringLiteral("代金卷"));
        t.card = q.money(QStringLiteral("信用卡收取"));
    }
    return t;
}

} // namespace overview
