// The application object and its start-up.
//
// This file belongs to the executable itself (not to the program library), so that the one
// application object is always linked in, as the module's own object.
#include "app/soap_test_app.h"

#include "afxsock.h"
#include "app/program_module.h"
#include "dialog/soap_test_dlg.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CSoapTestApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

// The module's registration with the framework comes first, then the application object.
static const ProgramModuleRegistration s_programModule;
CSoapTestApp theApp;

BOOL CSoapTestApp::InitInstance() {
  if (!AfxSocketInit()) {
    AfxMessageBox(IDP_SOCKETS_INIT_FAILED, MB_OK, static_cast<UINT>(-1));
    return FALSE;
  }

  AfxEnableControlContainer();
  Enable3dControls();

  CSoapTestDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();  // the dialog ends only with IDCANCEL

  // The dialog has been closed: end the application rather than run its message loop.
  return FALSE;
}
