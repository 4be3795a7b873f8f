// tarvelo-service on the network: the request handling behind an HTTP server with a worker pool.
#pragma once

#include <memory>
#include <string>

#include "service/server_options.h"

namespace tarvelo::service {

class ServiceServer {
 public:
  explicit ServiceServer(ServerOptions options);
  ~ServiceServer();
  ServiceServer(const ServiceServer&) = delete;
  ServiceServer& operator=(const ServiceServer&) = delete;

  // Binds the listening socket and returns its port (the one picked when asked for port 0).
  // Throws std::runtime_error with a readable message when it cannot.
  int listen();

  // "http://HOST:PORT/Service.asmx", once listening.
  std::string url() const;

  // Answers requests until stop(); returns after the requests under way have been answered.
  void serve();

  // From any thread, before or during serve().
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tarvelo::service
