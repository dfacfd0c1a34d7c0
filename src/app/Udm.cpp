#include "app/Udm.h"

#include "app/IniFile.h"
#include "app/SixBit.h"
#include "app/Session.h"
#include "app/SchemaUpgrade.h"
#include "app/schema/Schema.h"
#include "stock/DocumentNumbers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

TDM *DM = nullptr;

namespace {

const QString kMainFileTables[] = {QStringLiteral("登陆"), QStringLiteral("商品列表")};

enum class FileState {
    NotDatabase,  // not an SQLite file at all
    Damaged,      // SQLite header, but the file cannot be read
    NoTables,     // an SQLite file without any table
    Foreign,      // tables, but not ours
    Ours
};

QStringList sidecars(const QString &path)
{
    return {path + QStringLiteral("-wal"), path + QStringLiteral("-shm"), path + QStringLiteral("-journal")};
}

// Looks at a database file without changing it: the header, then (read-only) its
// tables. ours(db) decides whether the tables are this program's.
FileState inspect(const QString &path, const std::function<bool(Database &)> &ours, QString *detail)
{
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            *detail = f.errorString();
            return FileState::Damaged;
        }
        if (f.size() == 0) return FileState::NoTables;
        if (f.read(16) != QByteArray("SQLite format 3\0", 16)) return FileState::NotDatabase;
    }
    try {
        auto db = Database::openSqliteReadOnly(path);
        Query q(*db);
        q.exec(QStringLiteral("select count(*) as n from sqlite_master where type='table'"));
        if (!q.next() || q.integer(QStringLiteral("n")) == 0) return FileState::NoTables;
        return ours(*db) ? FileState::Ours : FileState::Foreign;
    } catch (const DbError &e) {
        *detail = e.text();
        return FileState::Damaged;
    }
}

// Builds a new database beside path and moves it into place only when complete, so
// a failure halfway never leaves a half-made shop file behind.
void createDatabaseFile(const QString &path, const std::function<void(Database &)> &build)
{
    const QString tmp = path + QStringLiteral(".new");
    QFile::remove(tmp);
    for (const QString &s : sidecars(tmp)) QFile::remove(s);
    {
        auto db = Database::openSqlite(tmp);
        build(*db);
    }   // closed: the write-ahead log is folded into the file
    if (!QFile::rename(tmp, path)) {
        QFile::remove(tmp);
        if (!QFileInfo::exists(path))
            throw DbError(QStringLiteral("无法建立数据库文件：%1").arg(QDir::toNativeSeparators(path)));
    }
}

bool hasMainTables(Database &db)
{
    for (const QString &t : kMainFileTables)
        if (!db.tableExists(t)) return false;
    return true;
}

bool hasAnyScratchTable(Database &db)
{
    for (const schema::Table &t : schema::scratchTables())
        if (t.name != QStringLiteral("版本号") && db.tableExists(t.name)) return true;
    return false;
}

std::unique_ptr<Database> openMainFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        createDatabaseFile(path, schema::createNewMainDatabase);
    QString detail;
    const FileState state = inspect(path, hasMainTables, &detail);
    if (state != FileState::Ours) {
        const QString file = QDir::toNativeSeparators(path);
        QString why;
        switch (state) {
        case FileState::NotDatabase: why = QStringLiteral("它不是数据库文件"); break;
        case FileState::Damaged: why = QStringLiteral("文件已损坏或无法读取（%1）").arg(detail); break;
        default: why = QStringLiteral("其中没有本系统的数据表"); break;
        }
        throw StartupError(StartupError::Kind::BadShopFile,
                           QStringLiteral("数据文件 %1 无法使用：%2。\n程序没有改动这个文件。请把它移走或从备份恢复后再启动。")
                               .arg(file, why));
    }
    return Database::openSqlite(path);
}

// The scratch database holds only documents being entered: a damaged or foreign
// file is kept under another name and replaced by a new one.
std::unique_ptr<Database> openScratchFile(const QString &path, QStringList &notices)
{
    if (!QFileInfo::exists(path)) {
        createDatabaseFile(path, schema::createScratchSchema);
        return Database::openSqlite(path);
    }
    QString detail;
    const FileState state = inspect(path, hasAnyScratchTable, &detail);
    if (state == FileState::Ours) {
        auto db = Database::openSqlite(path);
        schema::createMissingScratchTables(*db);
        return db;
    }
    if (state == FileState::NoTables) {
        auto db = Database::openSqlite(path);
        schema::createScratchSchema(*db);
        return db;
    }
    const QString aside = path + QStringLiteral(".damaged-")
                          + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(path, aside))
        throw StartupError(StartupError::Kind::Other,
                           QStringLiteral("临时数据库 %1 已损坏，且无法改名保存，请把它移走后再启动。")
                               .arg(QDir::toNativeSeparators(path)));
    for (const QString &s : sidecars(path))
        if (QFileInfo::exists(s)) QFile::rename(s, aside + s.mid(path.size()));
    createDatabaseFile(path, schema::createScratchSchema);
    notices << QStringLiteral("临时数据库 temp.mdb 已损坏或不是本系统的文件，原文件已改名保存为 %1，并已重新建立临时数据库。")
                   .arg(QDir::toNativeSeparators(aside));
    return Database::openSqlite(path);
}

int tableCount(Database &db)
{
    Query q(db);
    q.exec(QStringLiteral("select count(*) as n from information_schema.tables where table_schema=current_schema()"));
    return q.next() ? int(q.integer(QStringLiteral("n"))) : 0;
}

PgParams serverParams(const IniFile &kf)
{
    const QString v = QStringLiteral("值");
    const QString dflt = QStringLiteral("default");
    PgParams p;
    p.server = kf.read(QStringLiteral("服务器"), v, dflt);
    p.user = kf.read(QStringLiteral("用户名"), v, dflt);
    // kf.ini holds the password only in its six-bit form.
    p.password = DecodeSixBit(kf.read(QStringLiteral("密码"), v, dflt));
    p.database = kf.read(QStringLiteral("数据库名"), v, dflt);
    return p;
}

std::unique_ptr<Database> openServer(const PgParams &p)
{
    std::unique_ptr<Database> main;
    try {
        main = Database::openPostgres(p);
    } catch (const DbError &e) {
        // Why, in Chinese, with the server's own text beneath for whoever sets it up.
        throw StartupError(StartupError::Kind::ServerUnreachable,
                           QStringLiteral("连接失败，请您先进行数据库设置！！\n%1\n\n%2")
                               .arg(Database::connectionFailureReason(e.text()), e.text()));
    }
    if (hasMainTables(*main)) return main;
    if (tableCount(*main) == 0) {
        // A new, empty server database becomes a new shop.
        schema::createNewMainDatabase(*main);
        return main;
    }
    throw StartupError(StartupError::Kind::BadShopFile,
                       QStringLiteral("服务器上的数据库 %1 不是本系统的数据库，程序没有改动它。请在数据库设置中选择正确的数据库。")
                           .arg(p.database));
}

} // namespace

TDM::Mode TDM::runMode()
{
    const IniFile kf(paths().shopFile(QStringLiteral("kf.ini")));
    QString mode = kf.read(QStringLiteral("运行模式"), QStringLiteral("值"), QStringLiteral("default"));
    if (mode.isEmpty()) mode = QStringLiteral("单机版");
    // Compared exactly: any other text, "default" included, is single-user mode.
    return mode == QStringLiteral("网络版") ? Mode::Network : Mode::SingleUser;
}

std::unique_ptr<TDM> TDM::open(const OwnerLoginPrompt &askOwner)
{
    const bool network = runMode() == Mode::Network;
    const PgParams server = network ? serverParams(IniFile(paths().shopFile(QStringLiteral("kf.ini")))) : PgParams();
    std::unique_ptr<TDM> dm;
    try {
        std::unique_ptr<Database> main = network
            ? openServer(server)
            : openMainFile(paths().shopFile(QStringLiteral("data.mdb")));
        QStringList notices;
        auto temp = openScratchFile(paths().shopFile(QStringLiteral("temp.mdb")), notices);
        dm.reset(new TDM(std::move(main), std::move(temp), network));
        dm->notices = notices;
    } catch (const DbError &e) {
        throw StartupError(StartupError::Kind::Other, e.text());
    }
    TDM *self = dm.get();
    SchemaUpgrade upgrade([self]() -> Database & { return self->ADObuding(); }, dm->ADOConnection1, dm->ADOtemp,
                          network ? QStringLiteral("sql") : QStringLiteral("access"));
    const SchemaUpgrade::Result upgraded = upgrade.run();
    dm->notices << upgraded.notices;
    if (!upgraded.refused.isEmpty())
        dm->upgradeAsOwner(server, upgraded.refused, askOwner);
    // Numbers of older databases were not unique; add the indexes where the data allows.
    const QStringList repeated = ensureUniqueDocumentNumbers(dm->ADOConnection1);
    if (!repeated.isEmpty())
        dm->notices << QStringLiteral("数据库中有重复的单据编号，无法为单据编号建立唯一索引；"
                                      "新单据仍不会重复使用已有编号。重复的编号：\n%1")
                           .arg(repeated.join(u'\n'));
    return dm;
}

TDM::TDM(std::unique_ptr<Database> main, std::unique_ptr<Database> temp, bool network)
    : ADOConnection1(*main), ADOtemp(*temp), main_(std::move(main)), temp_(std::move(temp)), networkMode_(network)
{
}

TDM::~TDM()
{
    if (DM == this) DM = nullptr;
}

void TDM::upgradeAsOwner(const PgParams &server, const QString &refused, const OwnerLoginPrompt &askOwner)
{
    const QString why = QStringLiteral("数据库需要升级，但工作站的登录“%1”没有修改数据表结构的权限。\n"
                                       "请输入数据库所有者的用户名和密码来完成这次升级（不会保存）。")
                            .arg(server.user);
    QString problem = refused;
    const std::optional<OwnerLogin> owner = askOwner ? askOwner(why) : std::nullopt;
    if (owner) {
        PgParams p = server;
        p.user = owner->user;
        p.password = owner->password;
        try {
            auto db = Database::openPostgres(p);
            SchemaUpgrade upgrade([this]() -> Database & { return ADObuding(); }, *db, QStringLiteral("sql"));
            const SchemaUpgrade::Result r = upgrade.run();
            notices << r.notices;
            if (r.refused.isEmpty() && !r.failed) return;
            if (!r.refused.isEmpty()) problem = r.refused;
        } catch (const DbError &e) {
            problem = Database::connectionFailureReason(e.text()) + u'\n' + e.text();
        }
    }
    notices << QStringLiteral("数据库升级没有完成：工作站的登录没有修改数据表结构的权限。\n"
                              "请运行数据库设置程序，用数据库所有者的登录点“升级数据库”完成升级。\n\n%1")
                   .arg(problem);
}

Database &TDM::ADObuding()
{
    if (!patch_) patch_ = Database::openSqliteReadOnly(paths().programFile(QStringLiteral("buding.mdb")));
    return *patch_;
}
