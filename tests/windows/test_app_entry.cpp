// The window program as the window tests start it: tarvelo.exe's own application object,
// dialog and resources, with an entry that points its exchanges at the test's service (the
// variable TARVELO_TEST_SERVICE_HOST) the way tarvelo-cli --service-host does, since the
// window program itself reads nothing from outside.
#include <cstdlib>

#include "afxwin.h"
#include "soap/service_location.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  SetServiceHost(std::getenv("TARVELO_TEST_SERVICE_HOST"));
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
