// Message boxes: MessageBox and the framework's AfxMessageBox.
#include "afx_state.h"
#include "ansi_text.h"
#include "dialog_session.h"
#include "resource_lookup.h"

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  afx::WindowBackend* const backend = afx::CurrentBackend();
  if (backend == nullptr) return 0;
  afx::NativeDialog* owner = nullptr;
  if (hWnd != nullptr) {
    if (afx::WindowRecord* window = afx::FindWindowRecord(hWnd)) owner = window->session->Native();
  }
  return backend->MessageBox(owner, afx::AnsiToWide(lpText != nullptr ? lpText : ""),
                             afx::AnsiToWide(lpCaption != nullptr ? lpCaption : "Error"), uType);
}

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
