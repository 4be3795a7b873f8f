// A test program's own GetACP, in place of the platform's (link tarvelo_seam_code_page): the
// ANSI code page is the deployment's unless a test sets another for a scope.
#pragma once

#include "windows.h"

namespace tarvelo_test {

// GetACP answers codePage while the object lives. A code page the platform does not know makes
// every CP_ACP conversion fail with ERROR_INVALID_PARAMETER: how tests reach those failures.
class ScopedAnsiCodePage {
 public:
  explicit ScopedAnsiCodePage(UINT codePage);
  ~ScopedAnsiCodePage();
  ScopedAnsiCodePage(const ScopedAnsiCodePage&) = delete;
  ScopedAnsiCodePage& operator=(const ScopedAnsiCodePage&) = delete;

 private:
  UINT m_previous;
};

}  // namespace tarvelo_test
