// The framework's socket support: the preparation of the process's socket layer.
#pragma once

#include "windows.h"
#include "winsock.h"

// Prepares the process's socket layer: nonzero when it is ready, 0 when it is not; lpwsaData,
// when given, receives the layer's description. On Windows this starts Windows Sockets 1.1
// for the process (WSAStartup, balanced when the process ends). On Linux the layer is ready
// when the process can open a TCP socket, and a peer that closes a connection can no longer
// end the process (SIGPIPE is ignored).
BOOL AfxSocketInit(WSADATA* lpwsaData = nullptr);
