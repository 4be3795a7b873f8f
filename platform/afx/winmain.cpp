// AfxWinMain: the framework's entry.
#include "afx_state.h"

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR lpCmdLine, int nCmdShow) {
  if (CWinApp* app = AfxGetApp()) app->SetCurrentHandles(hInstance, lpCmdLine, nCmdShow);
  // The window system is ready before InitInstance runs, as on the real platform.
  afx::CurrentBackend();
  return TRUE;
}

void AfxWinTerm() {
  afx::DestroyOwnBackend();
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  int exitCode = -1;
  CWinApp* app = AfxGetApp();
  try {
    if (app != nullptr && AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) &&
        app->InitApplication()) {
      exitCode = app->InitInstance() ? app->Run() : app->ExitInstance();
    }
  } catch (...) {
    // An exception that leaves InitInstance ends the application after the operator is told.
    AfxReportUncaughtException();
    exitCode = -1;
  }
  AfxWinTerm();
  return exitCode;
}
