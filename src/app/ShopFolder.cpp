#include "app/ShopFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

QString shopFolderFromCommandLine(const QCoreApplication &app, const QString &description)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
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
    return QDir(dir).absolutePath();
}
