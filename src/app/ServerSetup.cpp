#include "app/ServerSetup.h"

#include "app/IniFile.h"
#include "app/SixBit.h"
#include "app/schema/Schema.h"

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
    IniFile kf(path_);
    const bool ok = kf.write(QStringLiteral("运行模式"), kKey, network ? QStringLiteral("网络版") : QStringLiteral("单机版"))
                    && kf.write(QStringLiteral("服务器"), kKey, s.server.trimmed())
                    && kf.write(QStringLiteral("用户名"), kKey, s.user.trimmed())
                    && kf.write(QStringLiteral("密码"), kKey, EncodeSixBit(s.password))
                    && kf.write(QStringLiteral("数据库名"), kKey, s.database.trimmed());
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
        return {false, QStringLiteral("连接失败：") + e.text()};
    }
}

ServerSetup::Outcome ServerSetup::createDatabase(const ServerSettings &s)
{
    const QString missing = missingValue(s);
    if (!missing.isEmpty()) return {false, missing};
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
                return {false, QStringLiteral("连接失败：") + first.text()};
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
        schema::createNewMainDatabase(*db);
    } catch (const DbError &e) {
        return {false, QStringLiteral("创建数据库失败：") + e.text()};
    }
    return {true, QStringLiteral("数据库创建成功！")};
}
