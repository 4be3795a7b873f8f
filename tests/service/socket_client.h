// A bare TCP client for talking HTTP to the service exactly as written, including what an HTTP
// library will not send: a length without its body, a half-sent request, a refused body.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "request_builder.h"

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

// The head of a call to the service with a body of `length` bytes; no Authorization field when
// `authorization` is empty.
inline std::string call_head(std::size_t length,
                             const std::string& authorization = kGoodAuthorization) {
  std::string head = "POST /Service.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\n";
  if (!authorization.empty()) head += "Authorization: " + authorization + "\r\n";
  return head + "Content-Type: application/soap+xml\r\nContent-Length: " + std::to_string(length) +
         "\r\n\r\n";
}

struct WireReply {
  int status = 0;
  std::string head;
  std::string body;
};

// Replies read off one connection one after the other; bytes of the next reply that arrive with
// the current one are kept for it.
class ReplyReader {
 public:
  explicit ReplyReader(SocketClient& socket) : socket_(socket) {}

  // The next whole reply: its head, then as many body bytes as it announces. Status 0 when no
  // head arrived within `limit`.
  WireReply next(std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    using Clock = std::chrono::steady_clock;
    WireReply reply;
    const auto deadline = Clock::now() + limit;
    std::size_t blank;
    while ((blank = pending_.find("\r\n\r\n")) == std::string::npos && Clock::now() < deadline) {
      pending_ += socket_.receive_some(std::chrono::milliseconds(100));
    }
    if (blank == std::string::npos || pending_.rfind("HTTP/1.1 ", 0) != 0) return reply;
    reply.status = std::stoi(pending_.substr(9, 3));
    reply.head = pending_.substr(0, blank + 2);
    const std::size_t length_at = reply.head.find("Content-Length: ");
    const std::size_t length =
        length_at == std::string::npos ? 0 : std::stoul(reply.head.substr(length_at + 16));
    while (pending_.size() < blank + 4 + length && Clock::now() < deadline) {
      pending_ += socket_.receive_some(std::chrono::milliseconds(100));
    }
    reply.body = pending_.substr(blank + 4, length);
    pending_.erase(0, std::min(pending_.size(), blank + 4 + length));
    return reply;
  }

 private:
  SocketClient& socket_;
  std::string pending_;
};

// One request on a new connection, and its reply.
inline WireReply exchange(int port, const std::string& request,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  SocketClient socket(port);
  socket.send_text(request);
  return ReplyReader(socket).next(limit);
}

}  // namespace tarvelo::service::testing
