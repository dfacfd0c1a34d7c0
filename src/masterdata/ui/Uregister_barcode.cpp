#include "masterdata/ui/Utiaoma_bianji.h"
#include "masterdata/ui/Utiaoma_guanli.h"
#include "ui/WindowRegistry.h"

void registerBarcodeWindows()
{
    registerWindow(QStringLiteral("TFtiaoma_guanli"), [](QWidget *parent) { return new TFtiaoma_guanli(parent); });
    registerWindow(QStringLiteral("TFtiaoma_bianji"), [](QWidget *parent) { return new TFtiaoma_bianji(parent); });
}
