// The framework's socket support: the preparation of the process's socket layer.
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

// Prepares the process's socket layer: a peer that closes a connection can no longer end the
// process (SIGPIPE is ignored). Nonzero when the layer is ready (the process can open a TCP
// socket), 0 when it is not. lpwsaData, when given, receives the layer's description.
BOOL AfxSocketInit(WSADATA* lpwsaData = nullptr);
