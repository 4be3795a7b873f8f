// The framework's exceptions.
//
// They are thrown by value and caught by reference, e.g. `catch (const CMemoryException& e)`
// or `catch (const CException& e)`; nothing is allocated for them and nothing must be deleted.
#pragma once

#include <cstdio>

#include "windows.h"

class CException {
 public:
  virtual ~CException() = default;

  // Copies a short text for the operator into lpszError (at most nMaxError bytes with the NUL);
  // FALSE when the exception has none. The help context is always 0.
  virtual BOOL GetErrorMessage(char* lpszError, UINT nMaxError,
                               UINT* pnHelpContext = nullptr) const {
    if (pnHelpContext != nullptr) *pnHelpContext = 0;
    if (lpszError != nullptr && nMaxError > 0) lpszError[0] = '\0';
    return FALSE;
  }
};

// Memory could not be allocated.
class CMemoryException : public CException {
 public:
  BOOL GetErrorMessage(char* lpszError, UINT nMaxError,
                       UINT* pnHelpContext = nullptr) const override {
    if (pnHelpContext != nullptr) *pnHelpContext = 0;
    if (lpszError == nullptr || nMaxError == 0) return FALSE;
    std::snprintf(lpszError, nMaxError, "%s", "Out of memory.");
    return TRUE;
  }
};

[[noreturn]] inline void AfxThrowMemoryException() {
  throw CMemoryException();
}
