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
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
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

// Asks for the database owner's login for one schema upgrade; nothing is stored.
std::optional<TDM::OwnerLogin> askOwnerLogin(const QString &why)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("数据库升级"));
    auto *form = new QFormLayout(&dialog);
    auto *text = new QLabel(why, &dialog);
    text->setWordWrap(true);
    form->addRow(text);
    auto *user = new QLineEdit(&dialog);
    auto *password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("所有者用户名："), user);
    form->addRow(QStringLiteral("密码："), password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || user->text().trimmed().isEmpty()) return std::nullopt;
    return TDM::OwnerLogin{user->text().trimmed(), password->text()};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quenvar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quenvar服装进销存管理系统专业版"));
    installQtTranslations();   // Qt's own buttons and dialogs in Chinese

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
        dm = TDM::open(askOwnerLogin);
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
