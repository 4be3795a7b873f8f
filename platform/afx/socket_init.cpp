// AfxSocketInit: the process's socket layer. Alone in this file: a test program may link one
// of its own in its place.
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "afxsock.h"
#include "windows.h"

BOOL AfxSocketInit(WSADATA* lpwsaData) {
  // A write to a connection that the peer has closed must fail with EPIPE, not end the
  // process with SIGPIPE.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  if (sigaction(SIGPIPE, &ignore, nullptr) != 0) return FALSE;
  // The layer is ready when the process can open a TCP socket.
  const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (probe < 0) return FALSE;
  close(probe);
  if (lpwsaData != nullptr) {
    std::memset(lpwsaData, 0, sizeof *lpwsaData);
    lpwsaData->wVersion = MAKEWORD(1, 1);
    lpwsaData->wHighVersion = MAKEWORD(2, 2);
    std::strncpy(lpwsaData->szDescription, "Berkeley sockets", WSADESCRIPTION_LEN);
    std::strncpy(lpwsaData->szSystemStatus, "Running", WSASYS_STATUS_LEN);
  }
  return TRUE;
}
