#include "app/ShopSettings.h"

#include "app/IniFile.h"
#include "app/Session.h"

namespace shopsettings {

const char *const kDefaultQQ = "800000000";
const char *const kDefaultEmail = "support@quenvar.example.org";
const char *const kDefaultWebsite = "https://quenvar.example.org/";
const char *const kDefaultPhone = "400-000-0000";

void load(Session &s, const QString &szIniPath)
{
    const IniFile ini(szIniPath);
    const QString key = QStringLiteral("类型");
    const QString fallback = QStringLiteral("default");
    auto read = [&](const char *section, const QString &programDefault) {
        const QString v = ini.read(QString::fromUtf8(section), key, fallback);
        return v == fallback ? programDefault : v;
    };
    // In the order the settings are documented; the display port comes last since
    // opening the display follows it.
    s.ReceiptStyle = read("默认自定义打印报表样式", QStringLiteral("样式一"));
    s.ReceiptCopies = read("打印份数", QStringLiteral("1"));
    s.CompanyShortName = read("公司简称", QStringLiteral("Quenvar"));
    s.ContactQQ = read("QQ", QString::fromUtf8(kDefaultQQ));
    s.ContactEmail = read("EMAIL", QString::fromUtf8(kDefaultEmail));
    s.ContactWebsite = read("网站", QString::fromUtf8(kDefaultWebsite));
    s.ContactPhone = read("电话", QString::fromUtf8(kDefaultPhone));
    s.CompanyFullName = read("公司全称", QStringLiteral("Quenvar软件开发有限公司"));
    s.ProgramTitle = read("程序全称", QStringLiteral("Quenvar店铺收银管理系统"));
    s.DisplayPort = read("顾客显示屏", QStringLiteral("0"));
}

} // namespace shopsettings
