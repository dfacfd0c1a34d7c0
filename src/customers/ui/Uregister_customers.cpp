#include "app/ui/AllWindows.h"
#include "ui/WindowRegistry.h"

#include "customers/ui/Ugonghuoshang_add.h"
#include "customers/ui/Ugonghuoshang_list.h"
#include "customers/ui/Ukehu_leixing_add.h"
#include "customers/ui/Ukehu_leixing_list.h"
#include "customers/ui/Ukehu_qvyu_add.h"
#include "customers/ui/Ukehu_qvyu_list.h"
#include "customers/ui/Upifa_kehu_add.h"
#include "customers/ui/Upifa_kehu_list.h"

void registerCustomersWindows()
{
    registerWindow(QStringLiteral("TFkehu_leixing_list"), [](QWidget *p) { return new TFkehu_leixing_list(p); });
    registerWindow(QStringLiteral("TFkehu_leixing_add"), [](QWidget *p) { return new TFkehu_leixing_add(p); });
    registerWindow(QStringLiteral("TFkehu_qvyu_list"), [](QWidget *p) { return new TFkehu_qvyu_list(p); });
    registerWindow(QStringLiteral("TFkehu_qvyu_add"), [](QWidget *p) { return new TFkehu_qvyu_add(p); });
    registerWindow(QStringLiteral("TFpifa_kehu_list"), [](QWidget *p) { return new TFpifa_kehu_list(p); });
    registerWindow(QStringLiteral("TFpifa_kehu_add"), [](QWidget *p) { return new TFpifa_kehu_add(p); });
    registerWindow(QStringLiteral("TFgonghuoshang_list"), [](QWidget *p) { return new TFgonghuoshang_list(p); });
    registerWindow(QStringLiteral("TFgonghuoshang_add"), [](QWidget *p) { return new TFgonghuoshang_add(p); });
}
