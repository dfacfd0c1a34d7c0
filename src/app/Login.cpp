#include "app/Login.h"

#include "app/Password.h"

namespace login {

namespace {

// The row of the operator: exact spelling first, then any spelling that differs
// only in letter case; on equal terms the oldest operator.
bool findUser(Query &q, const QString &user)
{
    q.prepare(QStringLiteral("select * from 登陆 where lower(用户)=lower(:nm) "
                             "order by case when 用户=:nm then 0 else 1 end, id"));
    q.bind(QStringLiteral("nm"), user);
    q.exec();
    return q.next();
}

QStringList rightsOf(const Query &q)
{
    QStringList r;
    for (int i = 1; i <= 5; ++i) r << q.text(QStringLiteral("right%1").arg(i));
    return r;
}

} // namespace

Result check(Database &db, const QString &user, const QString &password)
{
    Result result;
    Query q(db);
    if (!findUser(q, user)) return result;
    bool needsRehash = false;
    if (!verifyPassword(q.text(QStringLiteral("密码")), password, &needsRehash)) {
        result.outcome = Outcome::WrongPassword;
        return result;
    }
    result.outcome = Outcome::Ok;
    result.branch = q.text(QStringLiteral("部门"));
    result.rights = rightsOf(q);
    if (needsRehash) {
        const qint64 id = q.integer(QStringLiteral("id"));
        Transaction tx(db);
        Query up(db);
        up.prepare(QStringLiteral("update 登陆 set 密码=:pw where id=:id"));
        up.bind(QStringLiteral("pw"), hashPassword(password));
        up.bind(QStringLiteral("id"), id);
        up.exec();
        tx.commit();
    }
    return result;
}

QStringList readRights(Database &db, const QString &user)
{
    Query q(db);
    if (!findUser(q, user)) return QStringList(5, QString());
    return rightsOf(q);
}

const std::vector<Gate> &gates()
{
    static const std::vector<Gate> g = {
        {1, 1, "N3"},  {1, 2, "N12"}, {1, 3, "N15"}, {1, 4, "N14"}, {1, 5, "N28"},
        {1, 6, "N20"}, {1, 7, "N22"}, {2, 1, "N25"}, {2, 2, "N26"}, {2, 3, "N27"},
        {2, 4, "N30"}, {3, 1, "N13"}, {3, 2, "N19"}, {4, 1, "N17"}, {4, 2, "N18"},
        {4, 3, "N23"}, {5, 1, "N21"}, {5, 2, "N9"},  {5, 3, "N10"}, {5, 4, "N11"},
    };
    return g;
}

} // namespace login
