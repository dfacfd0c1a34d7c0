#include "ui/WindowRegistry.h"

void registerGoodsWindows() {}
