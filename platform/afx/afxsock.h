// The framework's socket support: the one-time preparation of the process's socket layer.
#pragma once

#include "windows.h"

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
};
using LPWSADATA = WSADATA*;

// Prepares the socket layer once for the process: a peer that closes a connection can no
// longer end the process (SIGPIPE is ignored), and the registered socket-layer initialisation
// (below) runs. Nonzero when the layer is ready, 0 when it is not; a failed preparation is
// tried again on the next call. lpwsaData, when given, receives the layer's description.
BOOL AfxSocketInit(WSADATA* lpwsaData = nullptr);

// ---- Hook: the HTTP component's global initialisation ------------------------------------
// The component that does the program's HTTP (its process-wide start-up, e.g. the transfer
// library's global initialisation) registers its initialisation here; AfxSocketInit calls it
// once, and its FALSE makes AfxSocketInit fail. The framework does not include that
// component: whoever links both registers the function before AfxSocketInit runs.
using AFX_SOCKET_LAYER_INIT = BOOL (*)();
void AfxSetSocketLayerInit(AFX_SOCKET_LAYER_INIT pfnInit);
