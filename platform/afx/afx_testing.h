// Test hooks of the framework. Not for the program.
#pragma once

#include "windows.h"

// Makes AfxSocketInit fail (return 0) while bFail is TRUE, as on a machine whose socket layer
// cannot start.
void AfxSimulateSocketInitFailure(BOOL bFail);
// Forgets that the socket layer was prepared (so the next AfxSocketInit prepares it again) and
// ends a simulated failure.
void AfxResetSocketInitForTesting();
