#pragma once

#include "app/Money.h"

#include <QString>

// The operator session: process-wide values set by the login and read everywhere.
struct Session {
    QString CurrentUser;
    QString CurrentBranch;
    QString RightsGroup1, RightsGroup2, RightsGroup3, RightsGroup4, RightsGroup5;

    // sz.ini settings
    QString ProgramTitle = QStringLiteral("Quenvar店铺收银管理系统");
    QString ReceiptStyle = QStringLiteral("样式一");
    QString ReceiptCopies = QStringLiteral("1");
    QString CompanyShortName = QStringLiteral("Quenvar");
    QString CompanyFullName = QStringLiteral("Quenvar软件开发有限公司");
    QString ContactQQ, ContactEmail, ContactWebsite, ContactPhone;
    QString DisplayPort = QStringLiteral("0");

    Money PointsDivisor = Money::fromInt(1);

    QString SmsGateway;
    qint64 LastSmsId = 0;

    // Whether the right at 1-based position pos of a rights string is granted:
    // "0" denies, any other character grants; a position beyond the string denies.
    static bool granted(const QString &rights, int pos);
};

Session &session();

// Where things are: the shop folder (data, settings, templates of this shop) and
// the program folder (the patch database and default templates shipped with it).
struct ShopPaths {
    QString shopDir;
    QString programDir;
    QString shopFile(const QString &name) const;      // shopDir + "/" + name
    QString programFile(const QString &name) const;   // programDir + "/" + name
};

ShopPaths &paths();
