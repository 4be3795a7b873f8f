// CDialog: a modal dialog made from a template of the module's resources.
#include "afxwin.h"
#include "resource_lookup.h"
#include "window_system.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate),
      m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)),
      m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
  const AFX_DIALOG_TEMPLATE* dialogTemplate = afx::FindDialogTemplate(m_lpszTemplateName);
  if (dialogTemplate == nullptr || m_hWnd != nullptr) return -1;
  return afx::RunModalDialog(*this, *dialogTemplate,
                             m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr);
}

BOOL CDialog::OnInitDialog() {
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  return OnInitDialog();
}

void CDialog::EndDialog(int nResult) {
  ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // Application commands (ID_HELP, ...) that the dialog does not handle go on to the
  // application object; control ids and system commands do not.
  const bool isApplicationCommand = (nID & 0x8000) != 0 && nID < 0xF000;
  if (nCode != CN_COMMAND || !isApplicationCommand) return FALSE;
  CWinApp* app = AfxGetApp();
  return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) ? TRUE : FALSE;
}
