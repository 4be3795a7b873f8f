// The framework's message boxes: AfxMessageBox with a text or a string of the string table.
#include "afx_state.h"
#include "resource_lookup.h"

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
  if (CWinApp* app = AfxGetApp()) return app->DoMessageBox(lpszText, nType, nIDHelp);
  // Without an application object the framework's own rules still hold.
  return afx::ShowApplicationMessageBox(lpszText, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  const char* text = afx::FindString(nIDPrompt);
  if (text == nullptr) return 0;
  if (nIDHelp == static_cast<UINT>(-1)) nIDHelp = nIDPrompt;
  return AfxMessageBox(text, nType, nIDHelp);
}
