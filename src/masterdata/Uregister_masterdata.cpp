#include "ui/WindowRegistry.h"

void registerMasterdataWindows() {}
