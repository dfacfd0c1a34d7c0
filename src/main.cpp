#include "app/Udm.h"
#include "app/Session.h"
#include "app/Ulogin.h"
#include "app/Umain.h"
#include "ui/Messages.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace {

QString chooseShopDir(const QApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quenvar 服装店铺管理"));
    parser.addHelpOption();
    QCommandLineOption shop(QStringList{QStringLiteral("s"), QStringLiteral("shop")},
                            QStringLiteral("店铺文件夹（默认 $QUENVAR_SHOP，或 ~/.local/share/quenvar/shop）"),
                            QStringLiteral("folder"));
    parser.addOption(shop);
    parser.process(app);
    if (parser.isSet(shop)) return parser.value(shop);
    const QString env = qEnvironmentVariable("QUENVAR_SHOP");
    if (!env.isEmpty()) return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/quenvar/shop");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quenvar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quenvar服装进销存管理系统专业版"));

    paths().programDir = QCoreApplication::applicationDirPath();
    paths().shopDir = QDir(chooseShopDir(app)).absolutePath();
    if (!QDir().mkpath(paths().shopDir)) {
        QMessageBox::critical(nullptr, session().ProgramTitle,
                              QStringLiteral("无法创建店铺文件夹：%1").arg(paths().shopDir));
        return 1;
    }

    registerAllWindows();
    TFmain mainWindow;
    setWindowParent(&mainWindow);

    std::unique_ptr<TDM> dm;
    try {
        dm = TDM::open();
    } catch (const StartupError &e) {
        messages().error(e.text());
        if (e.kind() == StartupError::Kind::ServerUnreachable)
            QProcess::startDetached(paths().programFile(QStringLiteral("datashezhi")),
                                    {QStringLiteral("--shop"), paths().shopDir});
        return 1;
    }
    DM = dm.get();
    for (const QString &notice : dm->notices)
        messages().information(notice);

    TFlogin login(&mainWindow);
    if (login.exec() != QDialog::Accepted)
        return 0;
    mainWindow.showMaximized();
    const int rc = app.exec();
    resetWindows();
    return rc;
}
