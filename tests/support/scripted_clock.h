// A test program's own GetLocalTime, in place of the platform's (link tarvelo_seam_clock): it
// answers the readings a test has queued, in turn.
#pragma once

#include "windows.h"

namespace tarvelo_test {

// The next nCount readings of GetLocalTime are pReadings[0], pReadings[1], ...; a new call
// replaces what is left of the earlier list. A reading asked for with none queued fails the
// test and answers all zeros.
void QueueLocalTimes(const SYSTEMTIME* pReadings, int nCount);

}  // namespace tarvelo_test
