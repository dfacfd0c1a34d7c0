#include "TFdatashezhi.hpp"

#include "ui/Messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFdatashezhi::TFdatashezhi(const QString &kfPath, QWidget *parent) : QWidget(parent), setup_(kfPath)
{
    setObjectName(QStringLiteral("TFdatashezhi"));
    setWindowTitle(QStringLiteral("数据库设置"));

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("单机版"), QStringLiteral("网络版")});
    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setMinimumWidth(240);
        return e;
    };
    Edit1 = edit("Edit1");
    Edit1->setPlaceholderText(QStringLiteral("主机名或地址，可带端口，如 192.168.1.10:5432"));
    Edit2 = edit("Edit2");
    Edit3 = edit("Edit3");
    Edit3->setEchoMode(QLineEdit::Password);
    Edit4 = edit("Edit4");
    CheckBox1 = new QCheckBox(QStringLiteral("创建数据库时为工作站建立只能读写数据的登录"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    Edit5 = edit("Edit5");
    Edit6 = edit("Edit6");
    Edit6->setEchoMode(QLineEdit::Password);

    auto *modeRow = new QFormLayout;
    modeRow->addRow(QStringLiteral("运行模式："), ComboBox1);

    auto *server = new QGroupBox(QStringLiteral("网络版数据库服务器"), this);
    auto *form = new QFormLayout(server);
    form->addRow(QStringLiteral("服务器："), Edit1);
    form->addRow(QStringLiteral("用户名："), Edit2);
    form->addRow(QStringLiteral("密码："), Edit3);
    form->addRow(QStringLiteral("数据库名："), Edit4);
    form->addRow(CheckBox1);
    form->addRow(QStringLiteral("工作站用户名："), Edit5);
    form->addRow(QStringLiteral("工作站密码："), Edit6);

    auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    Button1 = button("Button1", QStringLiteral("测试连接"));
    Button2 = button("Button2", QStringLiteral("创建数据库"));
    Button3 = button("Button3", QStringLiteral("保存"));
    Button4 = button("Button4", QStringLiteral("退出"));
    Button5 = button("Button5", QStringLiteral("升级数据库"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button5);
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);

    auto *hint = new QLabel(QStringLiteral("单机版使用店铺文件夹中的 data.mdb；网络版连接 PostgreSQL 服务器，"
                                           "多台电脑共用一个数据库。\n创建数据库和升级数据库请填写数据库管理员（所有者）的登录；"
                                           "建立了工作站登录时，保存的设置使用工作站的登录，管理员的密码不会保存。"), this);
    hint->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(modeRow);
    layout->addWidget(server);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TFdatashezhi::ComboBox1Change);
    connect(Button1, &QPushButton::clicked, this, &TFdatashezhi::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFdatashezhi::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFdatashezhi::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFdatashezhi::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TFdatashezhi::Button5Click);
    connect(CheckBox1, &QCheckBox::toggled, this, &TFdatashezhi::CheckBox1Click);

    const ServerSettings s = setup_.load();
    ComboBox1->setCurrentText(s.mode);
    Edit1->setText(s.server);
    Edit2->setText(s.user);
    Edit3->setText(s.password);
    Edit4->setText(s.database);
    ComboBox1Change();
}

ServerSettings TFdatashezhi::current() const
{
    ServerSettings s;
    s.mode = ComboBox1->currentText();
    s.server = Edit1->text();
    s.user = Edit2->text();
    s.password = Edit3->text();
    s.database = Edit4->text();
    return s;
}

void TFdatashezhi::ComboBox1Change()
{
    const bool network = ComboBox1->currentText() == QStringLiteral("网络版");
    for (QWidget *w : {static_cast<QWidget *>(Edit1), static_cast<QWidget *>(Edit2), static_cast<QWidget *>(Edit3),
                       static_cast<QWidget *>(Edit4), static_cast<QWidget *>(Button1), static_cast<QWidget *>(Button2),
                       static_cast<QWidget *>(Button5), static_cast<QWidget *>(CheckBox1)})
        w->setEnabled(network);
    CheckBox1Click();
}

void TFdatashezhi::CheckBox1Click()
{
    const bool on = CheckBox1->isEnabled() && CheckBox1->isChecked();
    Edit5->setEnabled(on);
    Edit6->setEnabled(on);
}

void TFdatashezhi::Button1Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ServerSetup::Outcome r = ServerSetup::testConnection(current());
    QApplication::restoreOverrideCursor();
    r.ok ? messages().information(r.message) : messages().error(r.message);
}

void TFdatashezhi::Button2Click()
{
    if (!messages().question(QStringLiteral("确定要在数据库 %1 中创建新的店铺数据吗？").arg(Edit4->text().trimmed())))
        return;
    const bool withWorkstation = CheckBox1->isChecked();
    const WorkstationLogin workstation{Edit5->text().trimmed(), Edit6->text()};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ServerSetup::Outcome r = withWorkstation ? ServerSetup::createDatabase(current(), workstation)
                                                   : ServerSetup::createDatabase(current());
    QApplication::restoreOverrideCursor();
    if (!r.ok) {
        messages().error(r.message);
        return;
    }
    if (!withWorkstation) {
        messages().information(r.message);
        return;
    }
    // The workstations use their own login from now on; the administrator's is not kept.
    Edit2->setText(workstation.user);
    Edit3->setText(workstation.password);
    QString error;
    if (!setup_.save(current(), &error)) {
        messages().error(r.message + QStringLiteral("\n") + error);
        return;
    }
    messages().information(r.message + QStringLiteral("\n设置已保存为使用工作站的登录，请重新启动收银管理系统。"));
}

void TFdatashezhi::Button5Click()
{
    if (!messages().question(QStringLiteral("确定要用用户名 %1 升级数据库 %2 吗？").arg(Edit2->text().trimmed(), Edit4->text().trimmed())))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ServerSetup::Outcome r = ServerSetup::upgradeDatabase(current());
    QApplication::restoreOverrideCursor();
    r.ok ? messages().information(r.message) : messages().error(r.message);
}

void TFdatashezhi::Button3Click()
{
    QString error;
    if (!setup_.save(current(), &error)) {
        messages().error(error);
        return;
    }
    messages().information(QStringLiteral("设置已保存，请重新启动收银管理系统。"));
}

void TFdatashezhi::Button4Click() { close(); }
