// CWnd's link to the dialog manager's windows: a window's object gets its messages, and what
// it does not handle goes to the window's own procedure.
#include "dialog_session.h"

using afx::FindWindowRecord;
using afx::WindowRecord;

CWnd::~CWnd() {
  if (m_hWnd == nullptr) return;
  if (WindowRecord* window = FindWindowRecord(m_hWnd); window && window->permanent == this) {
    window->permanent = nullptr;
  }
  m_hWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  WindowRecord* window = FindWindowRecord(hWnd);
  if (window == nullptr) return nullptr;
  if (window->permanent != nullptr) return window->permanent;
  if (!window->temporary) {
    window->temporary = std::make_unique<CWnd>();
    window->temporary->m_hWnd = hWnd;
  }
  return window->temporary.get();
}

BOOL CWnd::Attach(HWND hWndNew) {
  WindowRecord* window = FindWindowRecord(hWndNew);
  if (window == nullptr || window->permanent != nullptr || m_hWnd != nullptr) return FALSE;
  window->permanent = this;
  m_hWnd = hWndNew;
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* window = FindWindowRecord(m_hWnd);
  if (window == nullptr) return 0;
  return window->session->DefaultProc(*window, message, wParam, lParam);
}
