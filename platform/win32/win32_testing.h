// Test hooks of the win32 stand-in. Not for the program.
#pragma once

#include "windows.h"

// Makes GetACP() (and so CP_ACP) answer codePage for the whole process; 0 goes back to the
// deployment's code page. A code page the platform does not know makes every CP_ACP conversion
// fail with ERROR_INVALID_PARAMETER, which is how tests reach the conversion failure paths.
void SetACPForTesting(UINT codePage);

// Sets the ANSI code page for one scope and puts the previous one back.
class ScopedACPForTesting {
 public:
  explicit ScopedACPForTesting(UINT codePage);
  ~ScopedACPForTesting();
  ScopedACPForTesting(const ScopedACPForTesting&) = delete;
  ScopedACPForTesting& operator=(const ScopedACPForTesting&) = delete;

 private:
  UINT m_previous;
};

// Makes the next nCount calls of GetLocalTime answer pReadings[0], pReadings[1], ... in turn
// instead of the clock; once they are used up the clock answers again. A new call replaces
// what is left of the earlier list; nCount 0 ends it.
void QueueLocalTimesForTesting(const SYSTEMTIME* pReadings, int nCount);
