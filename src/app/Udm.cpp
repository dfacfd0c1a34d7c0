#include "app/Udm.h"

#include "app/IniFile.h"
#include "app/Password.h"
#include "app/SixBit.h"
#include "app/Session.h"
#include "app/schema/Schema.h"

#include <QFileInfo>

TDM *DM = nullptr;

namespace {

const QString kAllRights = QStringLiteral("11111111111111111111");

void createFirstOperator(Database &db)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 登陆 (用户,密码,部门,right1,right2,right3,right4,right5,right6,right7,right8,right9) "
                             "values (:用户,:密码,:部门,:r,:r,:r,:r,:r,:r,:r,:r,:r)"));
    q.bind(QStringLiteral("用户"), QStringLiteral("admin"))
        .bind(QStringLiteral("密码"), hashPassword(QString()))
        .bind(QStringLiteral("部门"), QStringLiteral("总部"))
        .bind(QStringLiteral("r"), kAllRights)
        .exec();
}

std::unique_ptr<Database> openOrCreateMain(const QString &path)
{
    const bool fresh = !QFileInfo::exists(path);
    auto db = Database::openSqlite(path);
    if (fresh) {
        schema::createMainSchema(*db);
        createFirstOperator(*db);
    }
    return db;
}

std::unique_ptr<Database> openOrCreateScratch(const QString &path)
{
    const bool fresh = !QFileInfo::exists(path);
    auto db = Database::openSqlite(path);
    if (fresh) schema::createScratchSchema(*db);
    return db;
}

} // namespace

std::unique_ptr<TDM> TDM::open()
{
    const IniFile kf(paths().shopFile(QStringLiteral("kf.ini")));
    const QString v = QStringLiteral("值");
    QString mode = kf.read(QStringLiteral("运行模式"), v, QStringLiteral("default"));
    if (mode.isEmpty()) mode = QStringLiteral("单机版");
    if (mode == QStringLiteral("网络版")) {
        PgParams p;
        p.server = kf.read(QStringLiteral("服务器"), v, QStringLiteral("default"));
        p.user = kf.read(QStringLiteral("用户名"), v, QStringLiteral("default"));
        p.password = DecodeSixBit(kf.read(QStringLiteral("密码"), v, QStringLiteral("default")));
        p.database = kf.read(QStringLiteral("数据库名"), v, QStringLiteral("default"));
        std::unique_ptr<Database> main;
        try {
            main = Database::openPostgres(p);
        } catch (const DbError &) {
            throw StartupError(StartupError::Kind::ServerUnreachable, QStringLiteral("连接失败，请您先进行数据库设置！！"));
        }
        try {
            if (!main->tableExists(QStringLiteral("登陆"))) {
                schema::createMainSchema(*main);
                createFirstOperator(*main);
            }
            auto temp = openOrCreateScratch(paths().shopFile(QStringLiteral("temp.mdb")));
            return std::unique_ptr<TDM>(new TDM(std::move(main), std::move(temp), true));
        } catch (const DbError &e) {
            throw StartupError(StartupError::Kind::Other, e.text());
        }
    }
    try {
        auto main = openOrCreateMain(paths().shopFile(QStringLiteral("data.mdb")));
        auto temp = openOrCreateScratch(paths().shopFile(QStringLiteral("temp.mdb")));
        return std::unique_ptr<TDM>(new TDM(std::move(main), std::move(temp), false));
    } catch (const DbError &e) {
        throw StartupError(StartupError::Kind::Other, e.text());
    }
}

TDM::TDM(std::unique_ptr<Database> main, std::unique_ptr<Database> temp, bool network)
    : ADOConnection1(*main), ADOtemp(*temp), main_(std::move(main)), temp_(std::move(temp)), networkMode_(network)
{
}

TDM::~TDM()
{
    if (DM == this) DM = nullptr;
}

Database &TDM::ADObuding()
{
    if (!patch_) patch_ = Database::openSqliteReadOnly(paths().programFile(QStringLiteral("buding.mdb")));
    return *patch_;
}
