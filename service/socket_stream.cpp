#include "service/socket_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tarvelo::service {
namespace {

using Clock = std::chrono::steady_clock;

void address_of(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  ip = text;
}

}  // namespace

SocketStream::SocketStream(int socket, std::chrono::microseconds read_timeout,
                           std::chrono::microseconds write_timeout)
    : socket_(socket), read_timeout_(read_timeout), write_timeout_(write_timeout) {}

bool SocketStream::wait_for(short event, std::chrono::microseconds timeout) const {
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd waiting{socket_, event, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(std::max<long long>(left, 0)));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

bool SocketStream::is_readable() const {
  return has_buffered_input() || wait_for(POLLIN, read_timeout_);
}

bool SocketStream::is_writable() const {
  return wait_for(POLLOUT, write_timeout_);
}

ssize_t SocketStream::read(char* ptr, size_t size) {
  if (size == 0) return 0;
  if (!has_buffered_input()) {
    if (!wait_for(POLLIN, read_timeout_)) return -1;
    // A large read goes straight to the caller; small ones (the head is read byte by byte) are
    // served from the buffer.
    if (size >= buffer_.size()) {
      ssize_t got;
      do {
        got = ::recv(socket_, ptr, size, 0);
      } while (got < 0 && errno == EINTR);
      return got;
    }
    ssize_t got;
    do {
      got = ::recv(socket_, buffer_.data(), buffer_.size(), 0);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return got;
    begin_ = 0;
    end_ = static_cast<std::size_t>(got);
  }
  const std::size_t taken = std::min(size, end_ - begin_);
  std::memcpy(ptr, buffer_.data() + begin_, taken);
  begin_ += taken;
  return static_cast<ssize_t>(taken);
}

ssize_t SocketStream::write(const char* ptr, size_t size) {
  std::size_t written = 0;
  while (written < size) {
    if (!wait_for(POLLOUT, write_timeout_)) return -1;
    const ssize_t sent = ::send(socket_, ptr + written, size - written, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return -1;
    }
    written += static_cast<std::size_t>(sent);
  }
  return static_cast<ssize_t>(size);
}

void SocketStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    address_of(address, ip, port);
  }
}

void SocketStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    address_of(address, ip, port);
  }
}

}  // namespace tarvelo::service
