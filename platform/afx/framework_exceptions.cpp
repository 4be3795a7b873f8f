// The framework's own exceptions.
#include <cstdio>

#include "afxwin.h"

void AfxThrowUserException() {
  throw CUserException();
}

void AfxThrowNotSupportedException() {
  throw CNotSupportedException();
}

BOOL CNotSupportedException::GetErrorMessage(char* lpszError, UINT nMaxError,
                                             UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  if (lpszError == nullptr || nMaxError == 0) return FALSE;
  std::snprintf(lpszError, nMaxError, "%s", "An unsupported operation was attempted.");
  return TRUE;
}
