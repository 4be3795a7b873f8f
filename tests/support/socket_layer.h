// A test program's own AfxSocketInit, in place of the framework's (link
// tarvelo_seam_socket_layer): the socket layer is ready unless a test says otherwise.
#pragma once

namespace tarvelo_test {

// AfxSocketInit answers ready (nonzero) or not (0) from now on.
void SetSocketLayerReady(bool ready);

}  // namespace tarvelo_test
