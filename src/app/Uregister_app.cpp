#include "ui/WindowRegistry.h"

void registerAppWindows() {}
