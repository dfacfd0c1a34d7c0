#include "ui/WindowRegistry.h"

void registerOrganisationWindows() {}
