#include "ui/WindowRegistry.h"

void registerCustomersWindows() {}
