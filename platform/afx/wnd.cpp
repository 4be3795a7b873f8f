// CWnd: a window object and the messages that reach it.
#include "afx_state.h"
#include "window_system.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::SetWindowText(LPCSTR lpszString) {
  ::SetWindowTextA(m_hWnd, lpszString);
}

CWnd* CWnd::GetDlgItem(int nID) const {
  return FromHandle(::GetDlgItem(m_hWnd, nID));
}

BOOL CWnd::IsIconic() const {
  return ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(LPRECT lpRect) const {
  ::GetClientRect(m_hWnd, lpRect);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return FALSE;
  CDataExchange exchange(this, bSaveAndValidate);
  try {
    DoDataExchange(&exchange);
  } catch (const CUserException&) {
    return FALSE;  // the operator has been told what is wrong
  }
  if (!bSaveAndValidate) afx::ControlsUpdated(m_hWnd);
  return TRUE;
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
  return ::MessageBoxA(m_hWnd, lpszText, lpszCaption != nullptr ? lpszCaption : AfxGetAppName(),
                       nType);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    result = 1;
  } else {
    const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), message);
    if (entry == nullptr) return FALSE;
    switch (entry->nSig) {
      case AfxSig_vv:
        (this->*entry->pfn.pfn_vv)();
        break;
      case AfxSig_hv:
        result = reinterpret_cast<LRESULT>((this->*entry->pfn.pfn_hv)());
        break;
      case AfxSig_lwl:
        result = (this->*entry->pfn.pfn_lwl)(wParam, lParam);
        break;
      default:
        return FALSE;
    }
  }
  if (pResult != nullptr) *pResult = result;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
  return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

void CWnd::DoDataExchange(CDataExchange* /*pDX*/) {}

LRESULT CWnd::Default() {
  return DefWindowProc(m_currentMessage.message, m_currentMessage.wParam, m_currentMessage.lParam);
}

void CWnd::OnPaint() {
  Default();
}

void CWnd::OnDestroy() {
  Default();
}

HCURSOR CWnd::OnQueryDragIcon() {
  return reinterpret_cast<HCURSOR>(Default());
}
