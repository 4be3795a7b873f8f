// tarvelo-service started in-process on a free port of 127.0.0.1, answering on its own threads.
#pragma once

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

// A server answering for the life of the object.
class RunningService {
 public:
  explicit RunningService(ServerOptions options = local_options())
      : server_(std::move(options)), port_(server_.listen()) {}

  int port() const { return port_; }
  ServiceServer& server() { return server_; }

 private:
  ServiceServer server_;
  int port_;
};

}  // namespace tarvelo::service::testing
