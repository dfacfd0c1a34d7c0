// quenvar-demo: creates a new shop and fills it with demo data.
//   quenvar-demo --shop FOLDER [--articles N] [--sale-lines M] [--seed S]
//                [--server HOST:PORT --user U [--password P] --database NAME]
// With --server the shop is a network-mode shop: kf.ini in FOLDER names the
// server, the database is created there (it must not hold tables yet) and filled.
#include "tools/demoshop/DemoShop.h"
#include "app/ServerSetup.h"
#include "app/Session.h"
#include "app/Udm.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quenvar-demo"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("生成演示店铺：新建店铺并填入商品、会员、库存和销售记录"));
    parser.addHelpOption();
    const QCommandLineOption shop(QStringLiteral("shop"), QStringLiteral("新店铺的文件夹（空文件夹或不存在）"), QStringLiteral("folder"));
    const QCommandLineOption articles(QStringLiteral("articles"), QStringLiteral("商品数（默认 200）"), QStringLiteral("N"), QStringLiteral("200"));
    const QCommandLineOption lines(QStringLiteral("sale-lines"), QStringLiteral("销售明细行数（默认 5000）"), QStringLiteral("M"), QStringLiteral("5000"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("随机种子（默认 1）"), QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption server(QStringLiteral("server"), QStringLiteral("网络版：PostgreSQL 服务器（主机:端口）"), QStringLiteral("host:port"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("网络版：用户名"), QStringLiteral("name"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("网络版：密码"), QStringLiteral("text"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("网络版：数据库名（新建）"), QStringLiteral("name"));
    parser.addOptions({shop, articles, lines, seed, server, user, password, database});
    parser.process(app);

    bool ok1 = false, ok2 = false, ok3 = false;
    DemoShopOptions opt;
    opt.articles = parser.value(articles).toInt(&ok1);
    opt.saleLines = parser.value(lines).toLongLong(&ok2);
    opt.seed = parser.value(seed).toULongLong(&ok3);
    if (!parser.isSet(shop) || !ok1 || !ok2 || !ok3 || opt.articles < 1 || opt.articles > 1000000 || opt.saleLines < 0) {
        say(QStringLiteral("用法：quenvar-demo --shop 文件夹 [--articles 商品数(1-1000000)] [--sale-lines 销售明细行数] [--seed 种子]"));
        return 2;
    }

    paths().programDir = QCoreApplication::applicationDirPath();
    paths().shopDir = QDir(parser.value(shop)).absolutePath();
    const bool network = parser.isSet(server);
    if (network && (!parser.isSet(user) || !parser.isSet(database))) {
        say(QStringLiteral("网络版店铺需要 --server、--user 和 --database"));
        return 2;
    }
    // Only a new shop: data.mdb must not exist yet (a network-mode shop is checked
    // when its database is created, and again by the generator, which refuses a
    // database that already has goods).
    if (!network && TDM::runMode() == TDM::Mode::SingleUser && QFileInfo::exists(paths().shopFile(QStringLiteral("data.mdb")))) {
        say(QStringLiteral("文件夹里已有店铺数据（data.mdb），请指定一个空文件夹：%1").arg(paths().shopDir));
        return 1;
    }
    if (!QDir().mkpath(paths().shopDir)) {
        say(QStringLiteral("无法创建店铺文件夹：%1").arg(paths().shopDir));
        return 1;
    }
    if (network) {
        // The shop folder names the server the way the setup program writes it, so
        // the program and the benchmarks open this shop as a workstation does.
        ServerSettings s;
        s.mode = QStringLiteral("网络版");
        s.server = parser.value(server);
        s.user = parser.value(user);
        s.password = parser.value(password);
        s.database = parser.value(database);
        QString error;
        if (!ServerSetup(paths().shopFile(QStringLiteral("kf.ini"))).save(s, &error)) {
            say(error);
            return 1;
        }
        const ServerSetup::Outcome created = ServerSetup::createDatabase(s);
        if (!created.ok) {
            say(created.message);
            return 1;
        }
    }

    QElapsedTimer timer;
    timer.start();
    opt.progress = [&timer](const QString &line) {
        say(QStringLiteral("[%1 s] %2").arg(timer.elapsed() / 1000.0, 0, 'f', 1).arg(line));
    };
    try {
        std::unique_ptr<TDM> dm = TDM::open();
        DM = dm.get();
        const DemoShopSummary s = DemoShop(dm->ADOConnection1, opt).generate();
        say(QStringLiteral("完成，用时 %1 秒：商品 %2，条码 %3，会员 %4，采购入库单 %5，库存尺码 %6 行，销售单 %7（批发 %8，今日 %9），销售明细 %10 行。店铺：%11")
                .arg(timer.elapsed() / 1000.0, 0, 'f', 1)
                .arg(s.articles).arg(s.barcodes).arg(s.members).arg(s.receipts).arg(s.sizeStockRows)
                .arg(s.sales).arg(s.wholesales).arg(s.todaySales).arg(s.saleLines)
                .arg(paths().shopDir));
        DM = nullptr;
    } catch (const StartupError &e) {
        say(e.text());
        return 1;
    } catch (const DbError &e) {
        say(QStringLiteral("生成失败：%1").arg(e.text()));
        return 1;
    }
    return 0;
}
