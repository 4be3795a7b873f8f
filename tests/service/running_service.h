// tarvelo-service started in-process on a free port of 127.0.0.1, serving on its own thread.
#pragma once

#include <httplib.h>

#include <chrono>
#include <future>

#include "request_builder.h"
#include "service/service_server.h"

namespace tarvelo::service::testing {

inline ServerOptions local_options() {
  ServerOptions options;
  options.host = "127.0.0.1";
  options.port = 0;
  options.threads = 4;
  options.settings = test_settings();
  return options;
}

// A server serving on its own thread for the life of the object.
class RunningService {
 public:
  explicit RunningService(ServerOptions options = local_options())
      : server_(std::move(options)), port_(server_.listen()) {
    done_ = std::async(std::launch::async, [this] { server_.serve(); });
  }
  ~RunningService() { stop(); }

  int port() const { return port_; }
  ServiceServer& server() { return server_; }

  // Stops and reports whether serve() returned within `limit`.
  bool stop(std::chrono::seconds limit = std::chrono::seconds(10)) {
    if (!done_.valid()) return true;
    server_.stop();
    const bool returned = done_.wait_for(limit) == std::future_status::ready;
    if (returned) done_.get();
    return returned;
  }

  httplib::Client client() const {
    httplib::Client client("127.0.0.1", port_);
    client.set_connection_timeout(5, 0);
    client.set_read_timeout(10, 0);
    return client;
  }

 private:
  ServiceServer server_;
  int port_;
  std::future<void> done_;
};

}  // namespace tarvelo::service::testing
