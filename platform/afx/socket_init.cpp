// AfxSocketInit: the process's socket layer, prepared once.
#include <csignal>
#include <cstring>

#include "afx_state.h"
#include "afx_testing.h"

BOOL AfxSocketInit(WSADATA* lpwsaData) {
  afx::ModuleState& state = afx::State();
  if (state.socketInitFails) return FALSE;
  if (!state.socketLayerReady) {
    // A write to a connection that the peer has closed must fail with EPIPE, not end the
    // process with SIGPIPE.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    if (sigaction(SIGPIPE, &ignore, nullptr) != 0) return FALSE;
    if (state.socketLayerInit != nullptr && !state.socketLayerInit()) return FALSE;
    state.socketLayerReady = true;
  }
  if (lpwsaData != nullptr) {
    std::memset(lpwsaData, 0, sizeof *lpwsaData);
    lpwsaData->wVersion = MAKEWORD(1, 1);
    lpwsaData->wHighVersion = MAKEWORD(2, 2);
    std::strncpy(lpwsaData->szDescription, "Berkeley sockets", WSADESCRIPTION_LEN);
    std::strncpy(lpwsaData->szSystemStatus, "Running", WSASYS_STATUS_LEN);
  }
  return TRUE;
}

void AfxSetSocketLayerInit(AFX_SOCKET_LAYER_INIT pfnInit) {
  afx::State().socketLayerInit = pfnInit;
}

void AfxSimulateSocketInitFailure(BOOL bFail) {
  afx::State().socketInitFails = bFail != FALSE;
}

void AfxResetSocketInitForTesting() {
  afx::State().socketLayerReady = false;
  afx::State().socketInitFails = false;
}
