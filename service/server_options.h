// How tarvelo-service runs: where it listens, how many workers answer, and what it answers to.
#pragma once

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "service/settings.h"

namespace tarvelo::service {

// Two workers per core, and never fewer than eight.
inline unsigned default_thread_count() {
  return std::max(8u, 2u * std::thread::hardware_concurrency());
}

struct ServerOptions {
  std::string host = "127.0.0.1";  // a name or address; IPv6 without brackets
  int port = 8080;                 // 0: any free port
  unsigned threads = default_thread_count();
  std::chrono::milliseconds delay{0};  // added before every answer to a call
  bool access_log = false;             // one line per request on standard error
  Settings settings;
};

}  // namespace tarvelo::service
