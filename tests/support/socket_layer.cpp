#include "support/socket_layer.h"

#include "afxsock.h"

namespace {

bool g_ready = true;

}  // namespace

void tarvelo_test::SetSocketLayerReady(bool ready) {
  g_ready = ready;
}

BOOL AfxSocketInit(WSADATA* /*lpwsaData*/) {
  return g_ready ? TRUE : FALSE;
}
