#include "app/ui/AllWindows.h"
#include "ui/WindowRegistry.h"

// Each group of master-data windows registers itself from its own unit.
void registerGoodsWindows();         // categories, brands, sizes, colours, goods
void registerBarcodeWindows();       // barcode window and code editor
void registerOrganisationWindows();  // branches, warehouses, shopping guides

void registerMasterdataWindows()
{
    registerGoodsWindows();
    registerBarcodeWindows();
    registerOrganisationWindows();
}
