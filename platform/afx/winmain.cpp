// AfxWinMain: the framework's entry.
#include <cstdio>

#include "afx_state.h"
#include "window_system.h"

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR lpCmdLine, int nCmdShow) {
  if (CWinApp* app = AfxGetApp()) app->SetCurrentHandles(hInstance, lpCmdLine, nCmdShow);
  // The window system is ready before InitInstance runs, as on the real platform.
  if (!afx::WindowSystemReady()) {
    std::fprintf(stderr,
                 "%s: no window backend is linked into this program; it cannot show a window\n",
                 afx::ExecutableName().c_str());
    return FALSE;
  }
  return TRUE;
}

void AfxWinTerm() {
  afx::EndWindowSystem();
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;
  int exitCode = 1;  // the framework could not start
  try {
    if (AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) && app->InitApplication()) {
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
