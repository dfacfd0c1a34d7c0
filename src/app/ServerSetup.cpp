#include "app/ServerSetup.h"

#include "app/IniFile.h"
#include "app/SchemaUpgrade.h"
#include "app/Session.h"
#include "app/SixBit.h"
#include "app/schema/Schema.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kKey = QStringLiteral("值");
const QString kDefault = QStringLiteral("default");

QString missingValue(const ServerSettings &s)
{
    if (s.server.trimmed().isEmpty()) return QStringLiteral("请输入服务器名称！");
    if (s.user.trimmed().isEmpty()) return QStringLiteral("请输入用户名！");
    if (s.database.trimmed().isEmpty()) return QStringLiteral("请输入数据库名！");
    return QString();
}

QString quoteIdentifier(const QString &name)
{
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString quoteLiteral(const QString &text)
{
    QString q = text;
    q.replace(u'\'', QStringLiteral("''"));
    return u'\'' + q + u'\'';
}

QString failedConnection(const DbError &e)
{
    return QStringLiteral("连接失败：") + Database::connectionFailureReason(e.text()) + QStringLiteral("\n\n") + e.text();
}

// Creates (or renews) the workstation login and gives it the rows of the shop's
// tables and sequences, now and for tables the owner adds later, but no right to
// change the structure. An existing login with administrative rights, or the
// administrator's own, is never taken over.
void grantWorkstation(Database &db, const QString &admin, const QString &database, const WorkstationLogin &w)
{
    const QString role = quoteIdentifier(w.user.trimmed());
    Query q(db);
    q.prepare(QStringLiteral("select rolsuper, rolcreaterole, rolcreatedb from pg_roles where rolname=:r"));
    q.bind(QStringLiteral("r"), w.user.trimmed()).exec();
    if (q.next()) {
        if (w.user.trimmed() == admin || q.boolean(QStringLiteral("rolsuper")) || q.boolean(QStringLiteral("rolcreaterole"))
            || q.boolean(QStringLiteral("rolcreatedb")))
            throw DbError(QStringLiteral("用户名 %1 已经存在并且有管理权限，不能作为工作站的登录，请换一个用户名。").arg(w.user.trimmed()));
        db.execute(QStringLiteral("ALTER ROLE %1 WITH LOGIN PASSWORD %2").arg(role, quoteLiteral(w.password)));
    } else {
        db.execute(QStringLiteral("CREATE ROLE %1 WITH LOGIN PASSWORD %2").arg(role, quoteLiteral(w.password)));
    }
    const QString statements[] = {
        QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC"),
        QStringLiteral("GRANT CONNECT, TEMPORARY ON DATABASE %1 TO %2").arg(quoteIdentifier(database), role),
        QStringLiteral("GRANT USAGE ON SCHEMA public TO %1").arg(role),
        QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO %1").arg(role),
        QStringLiteral("GRANT USAGE, SELECT, UPDATE ON ALL SEQUENCES IN SCHEMA public TO %1").arg(role),
        QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO %1").arg(role),
        QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT USAGE, SELECT, UPDATE ON SEQUENCES TO %1").arg(role),
    };
    for (const QString &sql : statements) db.execute(sql);
}

int userTableCount(Database &db)
{
    Query q(db);
    q.exec(QStringLiteral("select count(*) as n from information_schema.tables "
                          "where table_schema not in ('pg_catalog','information_schema')"));
    return q.next() ? int(q.integer(QStringLiteral("n"))) : 0;
}

} // namespace

PgParams ServerSettings::params() const
{
    PgParams p;
    p.server = server.trimmed();
    p.user = user.trimmed();
    p.password = password;
    p.database = database.trimmed();
    return p;
}

ServerSetup::ServerSetup(QString kfPath) : path_(std::move(kfPath)) {}

ServerSettings ServerSetup::load() const
{
    const IniFile kf(path_);
    auto value = [&](const QString &section) {
        const QString v = kf.read(section, kKey, kDefault);
        return v == kDefault ? QString() : v;
    };
    ServerSettings s;
    s.mode = kf.read(QStringLiteral("运行模式"), kKey, kDefault) == QStringLiteral("网络版")
                 ? QStringLiteral("网络版") : QStringLiteral("单机版");
    s.server = value(QStringLiteral("服务器"));
    s.user = value(QStringLiteral("用户名"));
    s.password = DecodeSixBit(value(QStringLiteral("密码")));
    s.database = value(QStringLiteral("数据库名"));
    return s;
}

bool ServerSetup::save(const ServerSettings &s, QString *error)
{
    const bool network = s.mode == QStringLiteral("网络版");
    if (network) {
        const QString missing = missingValue(s);
        if (!missing.isEmpty()) { *error = missing; return false; }
    }
    // The password's six-bit form only hides it: nobody but the file's owner may read it.
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!QFileInfo::exists(path_)) {
        QFile create(path_);
        if (create.open(QIODevice::WriteOnly)) create.close();
    }
    QFile::setPermissions(path_, ownerOnly);
    IniFile kf(path_);
    bool ok = kf.write(QStringLiteral("运行模式"), kKey, network ? QStringLiteral("网络版") : QStringLiteral("单机版"))
                    && kf.write(QStringLiteral("服务器"), kKey, s.server.trimmed())
                    && kf.write(QStringLiteral("用户名"), kKey, s.user.trimmed())
                    && kf.write(QStringLiteral("密码"), kKey, EncodeSixBit(s.password))
                    && kf.write(QStringLiteral("数据库名"), kKey, s.database.trimmed());
    ok = QFile::setPermissions(path_, ownerOnly) && ok;
    if (!ok) *error = QStringLiteral("无法写入设置文件：%1").arg(path_);
    return ok;
}

ServerSetup::Outcome ServerSetup::testConnection(const ServerSettings &s)
{
    const QString missing = missingValue(s);
    if (!missing.isEmpty()) return {false, missing};
    try {
        Database::openPostgres(s.params());
        return {true, QStringLiteral("连接成功！")};
    } catch (const DbError &e) {
        return {false, failedConnection(e)};
    }
}

ServerSetup::Outcome ServerSetup::createDatabase(const ServerSettings &s, const std::optional<WorkstationLogin> &workstation)
{
    const QString missing = missingValue(s);
    if (!missing.isEmpty()) return {false, missing};
    if (workstation && workstation->user.trimmed().isEmpty()) return {false, QStringLiteral("请输入工作站的用户名！")};
    if (workstation && workstation->password.isEmpty()) return {false, QStringLiteral("请输入工作站的密码！")};
    const PgParams target = s.params();
    std::unique_ptr<Database> db;
    try {
        db = Database::openPostgres(target);
    } catch (const DbError &first) {
        // The database may simply not exist yet: create it through the server's
        // maintenance database with the same login.
        PgParams maint = target;
        maint.database = QStringLiteral("postgres");
        try {
            auto server = Database::openPostgres(maint);
            Query q(*server);
            q.prepare(QStringLiteral("select count(*) as n from pg_database where datname=:name"));
            q.bind(QStringLiteral("name"), target.database).exec();
            if (q.next() && q.integer(QStringLiteral("n")) > 0)
                return {false, failedConnection(first)};
            server->execute(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0")
                                .arg(quoteIdentifier(target.database)));
            db = Database::openPostgres(target);
        } catch (const DbError &e) {
            return {false, QStringLiteral("创建数据库失败：") + e.text()};
        }
    }
    try {
        if (userTableCount(*db) > 0)
            return {false, QStringLiteral("数据库 %1 中已经有数据表，不能在其中创建新的数据库。").arg(target.database)};
        // The shop and its workstation login come into being together, or not at all
        // (the login's creation is transactional on the server too).
        Transaction tx(*db);
        schema::createNewMainDatabase(*db);
        if (workstation) grantWorkstation(*db, target.user, target.database, *workstation);
        tx.commit();
    } catch (const DbError &e) {
        return {false, QStringLiteral("创建数据库失败：") + e.text()};
    }
    if (workstation)
        return {true, QStringLiteral("数据库创建成功！\n工作站的登录“%1”已建立，它可以读写数据，但不能修改数据表结构。")
                          .arg(workstation->user.trimmed())};
    return {true, QStringLiteral("数据库创建成功！")};
}

ServerSetup::Outcome ServerSetup::upgradeDatabase(const ServerSettings &owner)
{
    const QString missing = missingValue(owner);
    if (!missing.isEmpty()) return {false, missing};
    std::unique_ptr<Database> db;
    try {
        db = Database::openPostgres(owner.params());
    } catch (const DbError &e) {
        return {false, failedConnection(e)};
    }
    std::unique_ptr<Database> patch;
    SchemaUpgrade upgrade([&patch]() -> Database & {
        if (!patch) patch = Database::openSqliteReadOnly(paths().programFile(QStringLiteral("buding.mdb")));
        return *patch;
    }, *db, QStringLiteral("sql"));
    const SchemaUpgrade::Result r = upgrade.run();
    if (!r.refused.isEmpty())
        return {false, QStringLiteral("升级失败：这个登录没有修改数据表结构的权限，请使用数据库所有者的登录。\n\n") + r.refused};
    if (r.failed) return {false, r.notices.join(u'\n')};
    return {true, QStringLiteral("数据库升级完成！")};
}
