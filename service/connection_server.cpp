#include "service/connection_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "service/connection_parking.h"
#include "service/socket_stream.h"

namespace tarvelo::service {
namespace {

// Set by a handler on the worker that answers the request; read once the reply is written.
thread_local bool t_close_after_reply = false;

void close_connection(int socket) {
  ::shutdown(socket, SHUT_RDWR);
  ::close(socket);
}

// True when the complete head of a request is already there, without waiting for it. A head
// longer than this look goes to the parking, which looks further.
bool head_waiting(int socket) {
  char buffer[4096];
  const ssize_t got = ::recv(socket, buffer, sizeof buffer, MSG_PEEK | MSG_DONTWAIT);
  return got > 0 && holds_request_head({buffer, static_cast<std::size_t>(got)});
}

// A busy client sends its next request right after it has read a reply. The worker waits this
// long for it, up to this many requests in a row, before the connection goes back to the
// parking: fewer trips through the parking, and still a turn for every connection.
constexpr int kNextRequestWaitMilliseconds = 1;
constexpr std::size_t kRequestsPerTurn = 16;

// True when the complete head of the next request arrives within that short wait.
bool next_head_soon(int socket) {
  pollfd waiting{socket, POLLIN, 0};
  return ::poll(&waiting, 1, kNextRequestWaitMilliseconds) > 0 && head_waiting(socket);
}

}  // namespace

// The task queue the HTTP layer runs accepted connections on: the worker pool and the parking.
class ConnectionServer::Workers final : public httplib::TaskQueue {
 public:
  Workers(ConnectionServer& server, std::size_t threads, std::chrono::seconds head_timeout)
      : server_(server),
        pool_(threads),
        parking_(
            [this, &server](int socket, std::size_t served) {
              pool_.enqueue(
                  [&server, socket, served] { server.answer_connection(socket, served); });
            },
            head_timeout) {}

  void enqueue(std::function<void()> job) override { pool_.enqueue(std::move(job)); }

  // Closes the waiting connections, then lets the workers finish what they are answering; the
  // connections they are done with are closed instead of parked.
  void shutdown() override {
    server_.workers_ = nullptr;
    parking_.stop();
    pool_.shutdown();
  }

  ConnectionParking& parking() { return parking_; }

 private:
  ConnectionServer& server_;
  httplib::ThreadPool pool_;
  ConnectionParking parking_;
};

ConnectionServer::ConnectionServer(std::size_t threads, std::chrono::seconds head_timeout)
    : threads_(threads), head_timeout_(head_timeout) {
  set_keep_alive_timeout(static_cast<time_t>(head_timeout.count()));
  new_task_queue = [this] {
    auto* workers = new Workers(*this, threads_, head_timeout_);
    workers_ = workers;
    return workers;
  };
}

void ConnectionServer::close_after_reply() {
  t_close_after_reply = true;
}

// A newly accepted connection, on a worker. Most clients send their request at once; the others
// wait in the parking.
bool ConnectionServer::process_and_close_socket(socket_t sock) {
  if (head_waiting(sock)) {
    answer_connection(sock, 0);
  } else {
    park(sock, 0);
  }
  return true;
}

void ConnectionServer::answer_connection(int socket, std::size_t requests_served) {
  using std::chrono::microseconds;
  using std::chrono::seconds;
  SocketStream stream(socket, seconds(read_timeout_sec_) + microseconds(read_timeout_usec_),
                      seconds(write_timeout_sec_) + microseconds(write_timeout_usec_));
  for (std::size_t turn = 1;; ++turn) {
    const bool last = requests_served + 1 >= keep_alive_max_count_;
    bool peer_closes = false;
    t_close_after_reply = false;
    const bool answered = process_request(stream, last, peer_closes, nullptr);
    ++requests_served;
    if (t_close_after_reply) {
      t_close_after_reply = false;
      close_unread(socket);
      return;
    }
    if (!answered || peer_closes || last || svr_sock_ == INVALID_SOCKET) {
      close_connection(socket);
      return;
    }
    // Bytes of the next request already read into the buffer must be answered here and now.
    if (stream.has_buffered_input()) continue;
    if (turn >= kRequestsPerTurn || !next_head_soon(socket)) break;
  }
  park(socket, requests_served);
}

void ConnectionServer::close_unread(int socket) {
  Workers* workers = workers_;
  if (workers == nullptr) {
    close_connection(socket);
    return;
  }
  workers->parking().close_after_reply(socket);
}

void ConnectionServer::park(int socket, std::size_t requests_served) {
  Workers* workers = workers_;
  if (workers == nullptr) {
    close_connection(socket);
    return;
  }
  workers->parking().park(socket, requests_served);
}

}  // namespace tarvelo::service
