// Ports for tests: never a fixed one.
#pragma once

namespace tarvelo_test {

// A TCP port on 127.0.0.1 that nothing listened on at the moment of the call.
int FreePort();

}  // namespace tarvelo_test
