// One connection as the HTTP layer reads and writes it: buffered reads and whole writes, each
// bounded by a time-out.
#pragma once

#include <httplib.h>

#include <array>
#include <chrono>
#include <cstddef>

namespace tarvelo::service {

class SocketStream final : public httplib::Stream {
 public:
  SocketStream(int socket, std::chrono::microseconds read_timeout,
               std::chrono::microseconds write_timeout);

  bool is_readable() const override;
  bool is_writable() const override;
  // Up to `size` bytes; 0 when the peer has closed, -1 on a failure or when nothing arrived within
  // the read time-out.
  ssize_t read(char* ptr, size_t size) override;
  // All `size` bytes, or -1 when they could not be written within the write time-out.
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return socket_; }

  // True when bytes of a following request have been read ahead and wait in the buffer.
  bool has_buffered_input() const { return begin_ < end_; }

 private:
  bool wait_for(short event, std::chrono::microseconds timeout) const;

  const int socket_;
  const std::chrono::microseconds read_timeout_;
  const std::chrono::microseconds write_timeout_;
  std::array<char, 4096> buffer_{};
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};

}  // namespace tarvelo::service
