// The Win32 window functions over the dialog manager's windows.
#include "afx_state.h"
#include "ansi_text.h"
#include "dialog_session.h"

using afx::FindWindowRecord;
using afx::WindowRecord;

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  WindowRecord* window = FindWindowRecord(hWnd);
  if (window == nullptr) return 0;
  if (window->permanent != nullptr) {
    return AfxCallWndProc(window->permanent, hWnd, Msg, wParam, lParam);
  }
  return window->session->DefaultProc(*window, Msg, wParam, lParam);
}

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  if (FindWindowRecord(hWnd) == nullptr) return FALSE;
  return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0 ? TRUE : FALSE;
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (lpString == nullptr || nMaxCount <= 0) return 0;
  lpString[0] = '\0';
  if (FindWindowRecord(hWnd) == nullptr) return 0;
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                       reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthA(HWND hWnd) {
  if (FindWindowRecord(hWnd) == nullptr) return 0;
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
  WindowRecord* dialog = FindWindowRecord(hDlg);
  if (dialog == nullptr || dialog->index >= 0) return nullptr;
  WindowRecord* control = dialog->session->FindControl(nIDDlgItem);
  return control != nullptr ? control->Handle() : nullptr;
}

BOOL IsWindow(HWND hWnd) {
  return FindWindowRecord(hWnd) != nullptr ? TRUE : FALSE;
}

BOOL IsIconic(HWND hWnd) {
  WindowRecord* window = FindWindowRecord(hWnd);
  if (window == nullptr || window->index >= 0) return FALSE;
  afx::NativeDialog* native = window->session->Native();
  return native != nullptr && native->IsIconic() ? TRUE : FALSE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
  WindowRecord* window = FindWindowRecord(hWnd);
  if (window == nullptr || lpRect == nullptr) return FALSE;
  SIZE size = window->size;
  if (window->index < 0) {
    afx::NativeDialog* native = window->session->Native();
    size = native != nullptr ? native->ClientSize() : SIZE{0, 0};
  }
  *lpRect = RECT{0, 0, size.cx, size.cy};
  return TRUE;
}

HWND SetFocus(HWND hWnd) {
  WindowRecord* window = FindWindowRecord(hWnd);
  if (window == nullptr) return nullptr;
  const HWND previous = window->session->FocusedHandle();
  if (window->index >= 0) window->session->FocusControl(*window, false);
  return previous;
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
  WindowRecord* window = FindWindowRecord(hDlg);
  if (window == nullptr || window->index >= 0) return FALSE;
  window->session->End(nResult);
  return TRUE;
}

int GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    default:
      return 0;
  }
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  WindowRecord* window = FindWindowRecord(hWnd);
  if (window == nullptr || lpPaint == nullptr || window->index >= 0) return nullptr;
  return window->session->BeginPaint(*lpPaint);
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* /*lpPaint*/) {
  WindowRecord* window = FindWindowRecord(hWnd);
  if (window == nullptr || window->index >= 0) return FALSE;
  window->session->EndPaint();
  return TRUE;
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
  afx::DialogSession* session = afx::FindPaintingSession(hDC);
  const afx::Icon* icon = afx::IconFromHandle(hIcon);
  if (session == nullptr || icon == nullptr) return FALSE;
  session->DrawIcon(X, Y, *icon, hIcon);
  return TRUE;
}

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
