// The window program as the window tests start it: tarvelo.exe's own application object,
// dialog and resources, with an entry that points its exchanges at the service end that the
// command line names ("127.0.0.1:<port>"), the way tarvelo-cli --service-host does, since the
// window program itself reads nothing from outside.
#include "afxwin.h"
#include "soap/service_location.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  SetServiceHost(lpCmdLine);
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
