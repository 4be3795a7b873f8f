// A bare TCP client for what an HTTP library will not send: a length without its body, a
// chunked body, a half-sent request.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvelo::service::testing {

class SocketClient {
 public:
  explicit SocketClient(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    if (fd_ < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      ::close(fd_);
      throw std::runtime_error("connect failed");
    }
  }
  ~SocketClient() { ::close(fd_); }
  SocketClient(const SocketClient&) = delete;
  SocketClient& operator=(const SocketClient&) = delete;

  void send_text(std::string_view text) {
    while (!text.empty()) {
      const ssize_t sent = ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
      if (sent <= 0) throw std::runtime_error("send failed");
      text.remove_prefix(static_cast<std::size_t>(sent));
    }
  }

  // Everything that arrives until the peer closes, `enough` is seen, or `limit` passes.
  std::string receive(std::chrono::milliseconds limit, std::string_view enough = {}) {
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return received;
      pollfd waiting{fd_, POLLIN, 0};
      if (::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) return received;
      char buffer[4096];
      const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
      if (got <= 0) return received;
      received.append(buffer, static_cast<std::size_t>(got));
      if (!enough.empty() && received.find(enough) != std::string::npos) return received;
    }
  }

  // Everything that arrives until the peer closes (or resets) the connection; nothing when it is
  // still open after `limit`.
  std::optional<std::string> receive_until_closed(std::chrono::milliseconds limit) {
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd waiting{fd_, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
        return std::nullopt;
      }
      char buffer[4096];
      const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
      if (got <= 0) return received;
      received.append(buffer, static_cast<std::size_t>(got));
    }
  }

  // What one read gives once something arrives within `limit`; empty when nothing did or the peer
  // has closed.
  std::string receive_some(std::chrono::milliseconds limit) {
    pollfd waiting{fd_, POLLIN, 0};
    if (::poll(&waiting, 1, static_cast<int>(limit.count())) <= 0) return {};
    char buffer[4096];
    const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
  }

  int descriptor() const { return fd_; }

 private:
  int fd_;
};

}  // namespace tarvelo::service::testing
