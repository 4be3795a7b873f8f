// The HTTP layer's server with a connection life of our own. The HTTP layer gives every
// connection a worker thread for as long as it stays open, so a few clients that connect and send
// nothing (or half a request) would hold every worker. Here a worker takes a connection only when
// the complete head of a request waits on it, answers, and hands the connection back to the
// parking, where waiting costs no thread.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstddef>

namespace tarvelo::service {

class ConnectionServer : public httplib::Server {
 public:
  // `threads` workers; `head_timeout` is how long a connection may take, once it is waiting, to
  // deliver the complete head of its next request. It is also the keep-alive time-out announced.
  ConnectionServer(std::size_t threads, std::chrono::seconds head_timeout);

  // From a handler: the connection the current request came on ends once the reply has been
  // written, so that a body left unread on it is never taken for the next request (nor read).
  static void close_after_reply();

 private:
  class Workers;

  bool process_and_close_socket(socket_t sock) override;
  // Answers the requests waiting on `socket`, then parks or closes it.
  void answer_connection(int socket, std::size_t requests_served);
  void park(int socket, std::size_t requests_served);
  // Ends a connection on which bytes the peer sent stay unread, without reading them.
  void close_unread(int socket);

  const std::size_t threads_;
  const std::chrono::seconds head_timeout_;
  std::atomic<Workers*> workers_{nullptr};
};

}  // namespace tarvelo::service
