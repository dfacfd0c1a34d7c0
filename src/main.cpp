#include "app/ui/AllWindows.h"
#include "app/ShopFolder.h"
#include "app/Udm.h"
#include "app/Session.h"
#include "app/ui/Ulogin.h"
#include "app/ui/Umain.h"
#include "ui/Messages.h"
#include "ui/Modal.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// Milliseconds since the process started (the kernel's record of the start, so
// the loading of the libraries counts too).
qint64 msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    timespec now{};
    if (stat.open(QIODevice::ReadOnly) && clock_gettime(CLOCK_BOOTTIME, &now) == 0) {
        const QByteArray line = stat.readAll();
        // Fields after the command name (which may hold blanks) start after ") ".
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 19) {
            const double startSec = fields[19].toDouble() / double(sysconf(_SC_CLK_TCK));
            const double nowSec = double(now.tv_sec) + double(now.tv_nsec) / 1e9;
            return qint64((nowSec - startSec) * 1000.0);
        }
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quenvar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quenvar服装进销存管理系统专业版"));

    paths().programDir = QCoreApplication::applicationDirPath();
    paths().shopDir = shopFolderFromCommandLine(app, QStringLiteral("Quenvar 服装店铺管理"));
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
    if (qEnvironmentVariableIsSet("QUENVAR_BENCH_STARTUP")) {
        // Start-up benchmark: report when the login window is on screen, then end.
        QObject::connect(&login, &TFlogin::shown, &login, [&login] {
            QTimer::singleShot(0, &login, [&login] {
                std::printf("login-window-ms %lld\n", static_cast<long long>(msSinceProcessStart()));
                std::fflush(stdout);
                login.reject();
            });
        });
        showModal(login);
        resetWindows();
        return 0;
    }
    if (showModal(login) != QDialog::Accepted)
        return 0;
    // A sensible size for when no window manager maximises it.
    mainWindow.resize(1240, 780);
    mainWindow.showMaximized();
    const int rc = app.exec();
    resetWindows();
    return rc;
}
