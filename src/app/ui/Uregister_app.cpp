#include "app/ui/AllWindows.h"
#include "ui/WindowRegistry.h"

void registerAppWindows() {}
