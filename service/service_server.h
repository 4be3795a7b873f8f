// tarvelo-service on the network: the request handling behind an HTTP server with a thread pool.
#pragma once

#include <memory>
#include <string>

#include "service/server_options.h"

namespace tarvelo::service {

class ServiceServer {
 public:
  explicit ServiceServer(ServerOptions options);
  ~ServiceServer();  // stops
  ServiceServer(const ServiceServer&) = delete;
  ServiceServer& operator=(const ServiceServer&) = delete;

  // Binds the listening socket, starts answering on it and returns its port (the one picked when
  // asked for port 0). Throws std::runtime_error with a readable message when it cannot.
  int listen();

  // "http://HOST:PORT/Service.asmx", once listening.
  std::string url() const;

  // Takes no more connections, lets the calls under way be answered, then ends.
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tarvelo::service
