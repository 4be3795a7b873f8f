// AfxSocketInit: Windows Sockets 1.1 for the process, started once and cleaned up at its end.
#include <cstdlib>

#include "afxsock.h"

namespace {

void CleanUpSockets() {
  WSACleanup();
}

}  // namespace

BOOL AfxSocketInit(WSADATA* lpwsaData) {
  static bool started = false;
  static WSADATA description{};
  if (!started) {
    if (WSAStartup(MAKEWORD(1, 1), &description) != 0) return FALSE;
    started = true;
    std::atexit(&CleanUpSockets);
  }
  if (lpwsaData != nullptr) *lpwsaData = description;
  return TRUE;
}
