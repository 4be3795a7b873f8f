// libcurl easy handles, kept by each thread for its next request object.
//
// A fresh easy handle costs: its allocation and defaults, its own multi handle with the
// caches and the wake-up socket pair that libcurl makes for it, and all of that torn down
// again. A request object therefore takes a handle that an earlier object of the thread gave
// back, with the options every transfer shares already set. What must not pass from one
// object to the next is the connection: a handle goes back only after the connections it
// opened have been ended, and the next object takes no connection from the handle's cache
// before its own first transfer has completed.
#pragma once

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <vector>

namespace xmlhttp {

// Ends a transfer once no byte has moved, either way, for the stall limit.
struct StallWatch {
  std::chrono::steady_clock::time_point lastMove;
  curl_off_t received = 0;
  curl_off_t sent = 0;
  std::chrono::milliseconds limit{0};
  bool stalled = false;
};

// One easy handle and what its callbacks write to; the handle points into this object, so it
// stays where it was made.
class EasySession {
 public:
  EasySession(const EasySession&) = delete;
  EasySession& operator=(const EasySession&) = delete;
  ~EasySession();

  CURL* Handle() const { return easy_; }
  StallWatch& Stall() { return stallWatch_; }
  char* ErrorText() { return errorText_; }

  // Ends every connection the handle holds open: the peer sees them closed now. libcurl
  // notices a connection ended this way as dead and closes its socket later.
  void EndConnections();

 private:
  friend std::unique_ptr<EasySession> TakeEasySession();
  EasySession() = default;
  bool Prepare();

  static curl_socket_t OnOpenSocket(void* context, curlsocktype purpose, curl_sockaddr* address);
  static int OnCloseSocket(void* context, curl_socket_t socket);
  static int OnProgress(void* context, curl_off_t, curl_off_t received, curl_off_t,
                        curl_off_t sent);

  CURL* easy_ = nullptr;
  std::vector<curl_socket_t> openSockets_;
  StallWatch stallWatch_;
  char errorText_[CURL_ERROR_SIZE] = {};
};

// A handle for a new request object: one the thread kept, or a new one; null when memory ran
// out.
std::unique_ptr<EasySession> TakeEasySession();

// Ends the handle's connections and keeps it for the thread's next request object (a few at
// most; the rest are cleaned up).
void GiveBackEasySession(std::unique_ptr<EasySession> session);

}  // namespace xmlhttp
