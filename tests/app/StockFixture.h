#pragma once

#include "app/Database.h"

#include <QString>
#include <QStringList>

// Small shop data for the login, overview and main-window tests.
namespace fixture {

inline void exec(Database &db, const QString &sql, const QVariantMap &params = {})
{
    Query q(db);
    q.prepare(sql);
    for (auto it = params.constBegin(); it != params.constEnd(); ++it) q.bind(it.key(), it.value());
    q.exec();
}

inline void addOperator(Database &db, const QString &user, const QString &storedPassword,
                        const QString &branch = QStringLiteral("总部"),
                        const QStringList &rights = QStringList(5, QStringLiteral("11111111111111111111")))
{
    exec(db, QStringLiteral("insert into 登陆 (用户,密码,部门,right1,right2,right3,right4,right5) "
                            "values (:u,:p,:b,:r1,:r2,:r3,:r4,:r5)"),
         {{QStringLiteral("u"), user}, {QStringLiteral("p"), storedPassword}, {QStringLiteral("b"), branch},
          {QStringLiteral("r1"), rights.value(0)}, {QStringLiteral("r2"), rights.value(1)},
          {QStringLiteral("r3"), rights.value(2)}, {QStringLiteral("r4"), rights.value(3)},
          {QStringLiteral("r5"), rights.value(4)}});
}

inline void addSizes(Database &db, const QString &rule, const QStringList &sizes)
{
    exec(db, QStringLiteral("insert into 尺码规则 (尺码规则) values (:r)"), {{QStringLiteral("r"), rule}});
    // Inserted in reverse so the order comes from 排序编号, not from insertion.
    for (int i = sizes.size() - 1; i >= 0; --i)
        exec(db, QStringLiteral("insert into 商品尺码 (尺码规则,尺码,排序编号) values (:r,:s,:n)"),
             {{QStringLiteral("r"), rule}, {QStringLiteral("s"), sizes[i]}, {QStringLiteral("n"), i + 1}});
}

inline void addColours(Database &db, const QString &group, const QStringList &colours)
{
    exec(db, QStringLiteral("insert into 颜色组 (颜色组) values (:g)"), {{QStringLiteral("g"), group}});
    for (const QString &c : colours)
        exec(db, QStringLiteral("insert into 颜色列表 (颜色组,颜色) values (:g,:c)"),
             {{QStringLiteral("g"), group}, {QStringLiteral("c"), c}});
}

inline void addWarehouse(Database &db, const QString &name)
{
    exec(db, QStringLiteral("insert into 库房名称 (库房名称,所属分店) values (:n,:b)"),
         {{QStringLiteral("n"), name}, {QStringLiteral("b"), QStringLiteral("总部")}});
}

// Returns the new article's id.
inline qint64 addArticle(Database &db, const QString &name, const QString &articleNo, const QString &rule,
                         const QString &group)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 商品列表 (商品名称,货号,尺码规则,颜色组,零售价格,预设进价,数量) "
                             "values (:n,:h,:r,:g,100,50,0)"));
    q.bind(QStringLiteral("n"), name).bind(QStringLiteral("h"), articleNo).bind(QStringLiteral("r"), rule)
        .bind(QStringLiteral("g"), group).exec();
    Query id(db);
    id.prepare(QStringLiteral("select max(id) as id from 商品列表"));
    id.exec();
    id.next();
    return id.integer(QStringLiteral("id"));
}

// One size row of stock, kept consistent with the per-warehouse total.
inline void addStock(Database &db, qint64 article, const QString &name, const QString &articleNo,
                     const QString &warehouse, const QString &size, const QString &colour, int quantity)
{
    const QVariantMap p = {{QStringLiteral("a"), article}, {QStringLiteral("n"), name},
                           {QStringLiteral("h"), articleNo}, {QStringLiteral("w"), warehouse},
                           {QStringLiteral("s"), size}, {QStringLiteral("c"), colour},
                           {QStringLiteral("q"), quantity}};
    exec(db, QStringLiteral("insert into 库存尺码表 (商品编码,库房名称,商品尺码,颜色,数量,商品名称,货号) "
                            "values (:a,:w,:s,:c,:q,:n,:h)"), p);
    Query has(db);
    has.prepare(QStringLiteral("select count(*) as n from 库存总表 where 商品编码=:a and 库房名称=:w"));
    has.bind(QStringLiteral("a"), article).bind(QStringLiteral("w"), warehouse).exec();
    has.next();
    if (has.integer(QStringLiteral("n")) == 0)
        exec(db, QStringLiteral("insert into 库存总表 (商品编码,库房名称,商品名称,货号,数量) values (:a,:w,:n,:h,:q)"),
             {{QStringLiteral("a"), article}, {QStringLiteral("w"), warehouse}, {QStringLiteral("n"), name},
              {QStringLiteral("h"), articleNo}, {QStringLiteral("q"), quantity}});
    else
        exec(db, QStringLiteral("update 库存总表 set 数量=数量+:q where 商品编码=:a and 库房名称=:w"),
             {{QStringLiteral("a"), article}, {QStringLiteral("w"), warehouse}, {QStringLiteral("q"), quantity}});
}

// A sale header and one line at the given moment.
inline void addSale(Database &db, const QDateTime &at, int pieces, const QString &amount, const QString &cash,
                    const QString &account, const QString &voucher, const QString &card)
{
    exec(db, QStringLiteral("insert into 销售总表 (销售单号,日期时间,折后金额,现金收入,账户支付,代金卷,信用卡收取) "
                            "values (:no,:t,:a,:c,:ac,:v,:cd)"),
         {{QStringLiteral("no"), QStringLiteral("LS") + at.toString(QStringLiteral("yyyyMMddHHmmss"))},
          {QStringLiteral("t"), at}, {QStringLiteral("a"), amount}, {QStringLiteral("c"), cash},
          {QStringLiteral("ac"), account}, {QStringLiteral("v"), voucher}, {QStringLiteral("cd"), card}});
    exec(db, QStringLiteral("insert into 销售明细表 (销售单号,日期时间,数量) values (:no,:t,:q)"),
         {{QStringLiteral("no"), QStringLiteral("LS") + at.toString(QStringLiteral("yyyyMMddHHmmss"))},
          {QStringLiteral("t"), at}, {QStringLiteral("q"), pieces}});
}

} // namespace fixture
