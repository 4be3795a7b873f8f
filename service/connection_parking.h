// A waiting room for connections that have no complete request to answer yet. One thread watches
// them all, so an idle or slow client costs the service a file descriptor, never a worker.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace tarvelo::service {

// The most a request head is waited for in the parking: a connection that has sent this much
// without finishing its head is handed on all the same, and the HTTP layer refuses it.
inline constexpr std::size_t kParkedHeadLimit = 64 * 1024;

// How long a connection that the service ends keeps waiting for its peer to close it first.
inline constexpr std::chrono::milliseconds kClosingGrace{2000};

// True once `received` holds a whole request head: a request line and header fields up to the
// empty line that ends them (CR LF CR LF, or bare LF LF).
bool holds_request_head(std::string_view received);

class ConnectionParking {
 public:
  // Called on the parking's thread with a connection whose next request head has arrived (or
  // kParkedHeadLimit bytes of it); the callee owns the socket again.
  using Ready = std::function<void(int socket, std::size_t requests_served)>;

  // `head_timeout`: how long a parked connection may take to deliver the complete head of its
  // next request. Throws std::system_error when the thread or its descriptors cannot be made.
  ConnectionParking(Ready ready, std::chrono::milliseconds head_timeout);
  ~ConnectionParking();
  ConnectionParking(const ConnectionParking&) = delete;
  ConnectionParking& operator=(const ConnectionParking&) = delete;

  // Takes `socket` over until the head of its next request has arrived. The parking closes it
  // instead when the peer closes, when the head is not complete within the head timeout (with a
  // 408 reply if the head had begun), or on stop(). `requests_served` is handed back to Ready.
  void park(int socket, std::size_t requests_served);

  // Ends a connection whose last reply has been written while bytes the peer sent (a refused
  // body) are left unread. Closing it at once would reset the connection, and the reset can
  // destroy the reply before the peer has read it. So the sending side is shut (the peer sees the
  // reply, then the end), and the connection is kept, unread, until the peer closes it or
  // kClosingGrace passes. Nothing of what the peer sends is ever read.
  void close_after_reply(int socket);

  // Closes every parked connection and ends the thread. Connections parked later are closed at
  // once. Safe to call more than once; not from within Ready.
  void stop();

  // How many connections wait now.
  std::size_t parked() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tarvelo::service
