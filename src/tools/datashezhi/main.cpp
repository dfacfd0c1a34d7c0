// The setup program: edits kf.ini of a shop folder (run mode, server values) and
// creates a new shop database on a server.
#include "TFdatashezhi.hpp"
#include "app/Session.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("datashezhi"));
    QApplication::setApplicationDisplayName(QStringLiteral("数据库设置"));
    session().ProgramTitle = QStringLiteral("数据库设置");

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quenvar 数据库设置"));
    parser.addHelpOption();
    QCommandLineOption shop(QStringList{QStringLiteral("s"), QStringLiteral("shop")},
                            QStringLiteral("店铺文件夹（默认 $QUENVAR_SHOP，或 ~/.local/share/quenvar/shop）"),
                            QStringLiteral("folder"));
    parser.addOption(shop);
    parser.process(app);
    QString dir = parser.value(shop);
    if (dir.isEmpty()) dir = qEnvironmentVariable("QUENVAR_SHOP");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/quenvar/shop");
    dir = QDir(dir).absolutePath();
    if (!QDir().mkpath(dir)) {
        QMessageBox::critical(nullptr, session().ProgramTitle, QStringLiteral("无法创建店铺文件夹：%1").arg(dir));
        return 1;
    }
    paths().shopDir = dir;
    paths().programDir = QCoreApplication::applicationDirPath();

    TFdatashezhi window(paths().shopFile(QStringLiteral("kf.ini")));
    window.show();
    return app.exec();
}
