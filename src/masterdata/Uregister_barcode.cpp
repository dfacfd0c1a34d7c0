#include "ui/WindowRegistry.h"

void registerBarcodeWindows() {}
