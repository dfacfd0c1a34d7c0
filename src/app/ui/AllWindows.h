#pragma once

// Each subsystem registers the windows it builds; the program (and the tests that
// drive the whole program) register them all at start-up.
void registerAppWindows();
void registerMasterdataWindows();
void registerCustomersWindows();
inline void registerAllWindows()
{
    registerAppWindows();
    registerMasterdataWindows();
    registerCustomersWindows();
}
