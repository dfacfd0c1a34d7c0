#include "ui/WindowRegistry.h"

#include "masterdata/ui/Udaogouyuan_add.h"
#include "masterdata/ui/Udaogouyuan_list.h"
#include "masterdata/ui/Ufendian_add.h"
#include "masterdata/ui/Ufendian_shezhi.h"
#include "masterdata/ui/Ukufang_add.h"
#include "masterdata/ui/Ukufang_list.h"

void registerOrganisationWindows()
{
    registerWindow(QStringLiteral("TFfendian_shezhi"), [](QWidget *p) { return new TFfendian_shezhi(p); });
    registerWindow(QStringLiteral("TFfendian_add"), [](QWidget *p) { return new TFfendian_add(p); });
    registerWindow(QStringLiteral("TFkufang_list"), [](QWidget *p) { return new TFkufang_list(p); });
    registerWindow(QStringLiteral("TFkufang_add"), [](QWidget *p) { return new TFkufang_add(p); });
    registerWindow(QStringLiteral("TFdaogouyuan_list"), [](QWidget *p) { return new TFdaogouyuan_list(p); });
    registerWindow(QStringLiteral("TFdaogouyuan_add"), [](QWidget *p) { return new TFdaogouyuan_add(p); });
}
