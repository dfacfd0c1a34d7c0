#include "app/IniFile.h"
#include "app/Session.h"
#include "app/ShopSettings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ShopSettings, MissingFileGivesEveryDefault)
{
    QTemporaryDir dir;
    Session s;
    s.DisplayPort = QStringLiteral("3");
    shopsettings::load(s, dir.filePath(QStringLiteral("sz.ini")));
    EXPECT_EQ(s.ReceiptStyle, QStringLiteral("样式一"));
    EXPECT_EQ(s.ReceiptCopies, QStringLiteral("1"));
    EXPECT_EQ(s.CompanyShortName, QStringLiteral("Quenvar"));
    EXPECT_EQ(s.CompanyFullName, QStringLiteral("Quenvar软件开发有限公司"));
    EXPECT_EQ(s.ProgramTitle, QStringLiteral("Quenvar店铺收银管理系统"));
    EXPECT_EQ(s.DisplayPort, QStringLiteral("0"));
    EXPECT_EQ(s.ContactQQ, QString::fromUtf8(shopsettings::kDefaultQQ));
    EXPECT_EQ(s.ContactEmail, QString::fromUtf8(shopsettings::kDefaultEmail));
    EXPECT_EQ(s.ContactWebsite, QString::fromUtf8(shopsettings::kDefaultWebsite));
    EXPECT_EQ(s.ContactPhone, QString::fromUtf8(shopsettings::kDefaultPhone));
}

TEST(ShopSettings, DefaultTextTakesTheProgramDefaultOtherValuesStandEvenEmpty)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("sz.ini")));
    ASSERT_TRUE(ini.write(QStringLiteral("打印份数"), QStringLiteral("类型"), QStringLiteral("default")));
    ASSERT_TRUE(ini.write(QStringLiteral("公司简称"), QStringLiteral("类型"), QString()));
    ASSERT_TRUE(ini.write(QStringLiteral("默认自定义打印报表样式"), QStringLiteral("类型"), QStringLiteral("样式三")));
    ASSERT_TRUE(ini.write(QStringLiteral("程序全称"), QStringLiteral("类型"), QStringLiteral("东门服装店")));
    ASSERT_TRUE(ini.write(QStringLiteral("网站"), QStringLiteral("类型"), QStringLiteral("http://shop.example.net")));
    ASSERT_TRUE(ini.write(QStringLiteral("顾客显示屏"), QStringLiteral("类型"), QStringLiteral("2")));
    ASSERT_TRUE(ini.write(QStringLiteral("QQ"), QStringLiteral("类型"), QStringLiteral("Default")));   // exact match only
    Session s;
    shopsettings::load(s, ini.path());
    EXPECT_EQ(s.ReceiptCopies, QStringLiteral("1"));
    EXPECT_EQ(s.CompanyShortName, QString());
    EXPECT_EQ(s.ReceiptStyle, QStringLiteral("样式三"));
    EXPECT_EQ(s.ProgramTitle, QStringLiteral("东门服装店"));
    EXPECT_EQ(s.ContactWebsite, QStringLiteral("http://shop.example.net"));
    EXPECT_EQ(s.DisplayPort, QStringLiteral("2"));
    EXPECT_EQ(s.ContactQQ, QStringLiteral("Default"));
}
