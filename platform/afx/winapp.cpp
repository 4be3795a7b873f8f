// CWinApp: the one application object.
#include "afx_state.h"
#include "window_system.h"

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) {
  if (lpszAppName != nullptr) {
    m_appNameText = lpszAppName;
    m_pszAppName = m_appNameText.c_str();
  }
  afx::State().app = this;
}

CWinApp::~CWinApp() {
  if (afx::State().app == this) afx::State().app = nullptr;
}

void CWinApp::SetCurrentHandles(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow) {
  m_hInstance = hInstance;
  m_lpCmdLine = lpCmdLine;
  m_nCmdShow = nCmdShow;
  m_exeNameText = afx::ExecutableName();
  m_pszExeName = m_exeNameText.c_str();
  if (m_pszAppName == nullptr) {
    m_appNameText = afx::DerivedAppName();
    m_pszAppName = m_appNameText.c_str();
  }
}

BOOL CWinApp::InitApplication() {
  return TRUE;
}

BOOL CWinApp::InitInstance() {
  return TRUE;
}

int CWinApp::ExitInstance() {
  return 0;
}

int CWinApp::Run() {
  return ExitInstance();
}

BOOL CWinApp::Enable3dControls() {
  return TRUE;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
  return ::LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_GROUP_ICON),
                     MAKEINTRESOURCE(nIDResource));
}

void CWinApp::DoWaitCursor(int nCode) {
  afx::ChangeWaitCursor(nCode);
}

int afx::ShowApplicationMessageBox(LPCSTR lpszPrompt, UINT nType) {
  // A box that names no icon gets the exclamation mark.
  if ((nType & MB_ICONMASK) == 0) nType |= MB_ICONEXCLAMATION;
  // Owned by the window the operator is working in: the innermost dialog, else the main one.
  HWND owner = InnermostDialogWindow();
  if (owner == nullptr) {
    if (CWnd* main = AfxGetMainWnd()) owner = main->GetSafeHwnd();
  }
  return ::MessageBoxA(owner, lpszPrompt, AfxGetAppName(), nType);
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT /*nIDPrompt*/) {
  return afx::ShowApplicationMessageBox(lpszPrompt, nType);
}

void CWinApp::WinHelp(DWORD_PTR /*dwData*/, UINT /*nCmd*/) {}

void CWinApp::OnHelp() {
  WinHelp(0, HELP_FINDER);
}

CWinApp* AfxGetApp() {
  return afx::State().app;
}

LPCSTR AfxGetAppName() {
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_pszAppName != nullptr) return app->m_pszAppName;
  afx::State().derivedAppName = afx::DerivedAppName();
  return afx::State().derivedAppName.c_str();
}

CWnd* AfxGetMainWnd() {
  CWinApp* app = AfxGetApp();
  return app != nullptr ? app->m_pMainWnd : nullptr;
}

void AfxEnableControlContainer() {}
