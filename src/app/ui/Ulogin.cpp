#include "app/ui/Ulogin.h"

#include "app/Login.h"
#include "app/PoleDisplay.h"
#include "app/Session.h"
#include "app/ShopSettings.h"
#include "app/Udm.h"
#include "app/ui/Umain.h"
#include "ui/Guard.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFlogin::TFlogin(TFmain *mainWindow, QWidget *parent) : QDialog(parent), main_(mainWindow)
{
    setObjectName(QStringLiteral("TFlogin"));
    setWindowTitle(QStringLiteral("登录，版本号2013.03.01.00.00"));

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setEditText(QStringLiteral("admin"));
    ComboBox1->setMinimumWidth(200);

    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);

    BitBtn1 = new QPushButton(QStringLiteral("登陆"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    // Enter in the password field logs in through Edit2KeyPress; no default
    // button, so it does not log in twice.
    for (QPushButton *b : {BitBtn1, BitBtn2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(90);
    }

    Label2 = new QLabel(QStringLiteral("首次使用时，登录密码为空"), this);
    Label2->setObjectName(QStringLiteral("Label2"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名："), ComboBox1);
    form->addRow(QStringLiteral("密  码："), Edit2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(12);
    layout->addLayout(form);
    layout->addWidget(Label2);
    layout->addLayout(buttons);

    connect(Edit2, &QLineEdit::returnPressed, this, &TFlogin::Edit2KeyPress);
    connect(BitBtn1, &QPushButton::clicked, this, &TFlogin::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFlogin::BitBtn2Click);
}

void TFlogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
    Q_EMIT shown();
}

void TFlogin::FormShow()
{
    setWindowTitle(QStringLiteral("登录，版本号2013.03.01.00.00"));
    guarded([&] {
        const QString typed = ComboBox1->currentText();
        ComboBox1->clear();
        Query q(DM->ADOConnection1);
        q.exec(QStringLiteral("select * from 登陆 order by id"));
        while (q.next()) ComboBox1->addItem(q.text(QStringLiteral("用户")));
        ComboBox1->setEditText(typed);
    });
    Edit2->setFocus();
}

void TFlogin::Edit2KeyPress() { BitBtn1->click(); }

void TFlogin::BitBtn2Click() { close(); }

void TFlogin::BitBtn1Click()
{
    Session &s = session();
    s.PointsDivisor = Money::fromInt(1);
    const QString user = ComboBox1->currentText();
    login::Result r;
    if (!guarded([&] { r = login::check(DM->ADOConnection1, user, Edit2->text()); })) return;
    if (r.outcome == login::Outcome::NoSuchUser) {
        messages().information(QStringLiteral("无此用户名！！"));
        return;
    }
    if (r.outcome == login::Outcome::WrongPassword) {
        messages().information(QStringLiteral("密码错误！！首次使用该软件时，密码为空"));
        return;
    }

    s.CurrentUser = user;
    s.CurrentBranch = r.branch;
    main_->showOperator(s.CurrentUser);
    s.RightsGroup1 = r.rights.value(0);
    s.RightsGroup2 = r.rights.value(1);
    s.RightsGroup3 = r.rights.value(2);
    s.RightsGroup4 = r.rights.value(3);
    s.RightsGroup5 = r.rights.value(4);
    main_->applyRights();

    shopsettings::load(s, paths().shopFile(QStringLiteral("sz.ini")));
    main_->applyShopSettings();
    if (!openPoleDisplay(s.DisplayPort))
        messages().information(QStringLiteral("顾客显示屏打开失败"));

    // The column types the older store had to be told about are created with the
    // schema, so nothing more is needed before the main window opens.
    accept();
}
