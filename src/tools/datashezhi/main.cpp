// The setup program: edits kf.ini of a shop folder (run mode, server values) and
// creates a new shop database on a server.
#include "app/ShopFolder.h"
#include "TFdatashezhi.hpp"
#include "app/Session.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("datashezhi"));
    QApplication::setApplicationDisplayName(QStringLiteral("数据库设置"));
    session().ProgramTitle = QStringLiteral("数据库设置");
    installQtTranslations();   // Qt's own buttons and dialogs in Chinese

    const QString dir = shopFolderFromCommandLine(app, QStringLiteral("Quenvar 数据库设置"));
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
