#include "service/connection_parking.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tarvelo::service {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kTimeoutReply =
    "HTTP/1.1 408 Request Timeout\r\n"
    "Connection: close\r\n"
    "Content-Type: text/plain; charset=utf-8\r\n"
    "Content-Length: 40\r\n"
    "\r\n"
    "The request head did not arrive in time\n";

constexpr int kEventsPerWait = 64;
// The longest the thread sleeps: how late a deadline or a stop may be noticed.
constexpr int kWaitMilliseconds = 100;
constexpr auto kSweepInterval = std::chrono::milliseconds(50);

class Descriptor {
 public:
  explicit Descriptor(int fd, const char* what) : fd_(fd) {
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), what);
  }
  ~Descriptor() { ::close(fd_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

void close_connection(int socket) {
  ::shutdown(socket, SHUT_RDWR);
  ::close(socket);
}

}  // namespace

bool holds_request_head(std::string_view received) {
  return received.find("\n\r\n") != std::string_view::npos ||
         received.find("\n\n") != std::string_view::npos;
}

struct ConnectionParking::State {
  struct Entry {
    Clock::time_point deadline;
    std::size_t requests_served = 0;
    bool began = false;    // part of a head has arrived
    bool closing = false;  // waits, unread, for the peer to close
  };

  State(Ready ready_in, std::chrono::milliseconds timeout)
      : ready(std::move(ready_in)),
        head_timeout(timeout),
        poller(::epoll_create1(EPOLL_CLOEXEC), "epoll_create1"),
        wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK), "eventfd") {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = wake.get();
    if (::epoll_ctl(poller.get(), EPOLL_CTL_ADD, wake.get(), &event) != 0) {
      throw std::system_error(errno, std::generic_category(), "epoll_ctl");
    }
  }

  // Takes `socket` into the parking with `entry`; closes it when the parking has stopped.
  void watch(int socket, const Entry& entry);
  void run();
  void examine(int socket, std::uint32_t events, std::vector<char>& buffer);
  void sweep();
  void forget(int socket) { ::epoll_ctl(poller.get(), EPOLL_CTL_DEL, socket, nullptr); }

  const Ready ready;
  const std::chrono::milliseconds head_timeout;
  const Descriptor poller;
  const Descriptor wake;
  mutable std::mutex mutex;
  std::unordered_map<int, Entry> entries;  // guarded by mutex
  bool stopping = false;                   // guarded by mutex
  std::thread thread;
};

void ConnectionParking::State::run() {
  std::vector<char> buffer(kParkedHeadLimit);
  std::array<epoll_event, kEventsPerWait> events;
  Clock::time_point last_sweep = Clock::now();
  for (;;) {
    const int count = ::epoll_wait(poller.get(), events.data(), kEventsPerWait, kWaitMilliseconds);
    {
      const std::lock_guard lock(mutex);
      if (stopping) break;
    }
    for (int i = 0; i < count; ++i) {
      if (events[i].data.fd != wake.get()) examine(events[i].data.fd, events[i].events, buffer);
    }
    if (Clock::now() - last_sweep >= kSweepInterval) {
      sweep();
      last_sweep = Clock::now();
    }
  }
  const std::lock_guard lock(mutex);
  for (const auto& [socket, entry] : entries) close_connection(socket);
  entries.clear();
}

// Looks at what a parked connection has sent so far, without taking it off the connection.
void ConnectionParking::State::examine(int socket, std::uint32_t events,
                                       std::vector<char>& buffer) {
  std::size_t requests_served = 0;
  {
    const std::lock_guard lock(mutex);
    const auto found = entries.find(socket);
    if (found == entries.end()) return;
    const bool peer_done = (events & (EPOLLRDHUP | EPOLLHUP | EPOLLERR)) != 0;
    if (found->second.closing) {
      if (!peer_done) return;  // more of what will never be read
      entries.erase(found);
      forget(socket);
      close_connection(socket);
      return;
    }
    const ssize_t got = ::recv(socket, buffer.data(), buffer.size(), MSG_PEEK | MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    const auto size = static_cast<std::size_t>(got > 0 ? got : 0);
    const bool head = size >= kParkedHeadLimit || holds_request_head({buffer.data(), size});
    if (!head && size > 0 && !peer_done) {
      found->second.began = true;
      return;
    }
    requests_served = found->second.requests_served;
    entries.erase(found);
    forget(socket);
    if (!head) {  // closed, failed, or half-closed before its head was complete
      close_connection(socket);
      return;
    }
  }
  ready(socket, requests_served);
}

void ConnectionParking::State::sweep() {
  std::vector<std::pair<int, bool>> expired;
  {
    const std::lock_guard lock(mutex);
    const Clock::time_point now = Clock::now();
    for (auto entry = entries.begin(); entry != entries.end();) {
      if (entry->second.deadline > now) {
        ++entry;
        continue;
      }
      expired.emplace_back(entry->first, entry->second.began);
      forget(entry->first);
      entry = entries.erase(entry);
    }
  }
  for (const auto& [socket, began] : expired) {
    if (began) {
      ::send(socket, kTimeoutReply.data(), kTimeoutReply.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    }
    close_connection(socket);
  }
}

ConnectionParking::ConnectionParking(Ready ready, std::chrono::milliseconds head_timeout)
    : state_(std::make_unique<State>(std::move(ready), head_timeout)) {
  state_->thread = std::thread([state = state_.get()] { state->run(); });
}

ConnectionParking::~ConnectionParking() {
  stop();
}

void ConnectionParking::park(int socket, std::size_t requests_served) {
  state_->watch(socket, State::Entry{Clock::now() + state_->head_timeout, requests_served});
}

void ConnectionParking::close_after_reply(int socket) {
  ::shutdown(socket, SHUT_WR);
  State::Entry entry{Clock::now() + kClosingGrace};
  entry.closing = true;
  state_->watch(socket, entry);
}

void ConnectionParking::State::watch(int socket, const Entry& entry) {
  {
    const std::lock_guard lock(mutex);
    if (!stopping) {
      entries[socket] = entry;
      epoll_event event{};
      event.events = EPOLLIN | EPOLLRDHUP | EPOLLET;
      event.data.fd = socket;
      if (::epoll_ctl(poller.get(), EPOLL_CTL_ADD, socket, &event) == 0) return;
      entries.erase(socket);
    }
  }
  close_connection(socket);
}

void ConnectionParking::stop() {
  State& state = *state_;
  {
    const std::lock_guard lock(state.mutex);
    state.stopping = true;
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(state.wake.get(), &one, sizeof one);
  if (state.thread.joinable()) state.thread.join();
}

std::size_t ConnectionParking::parked() const {
  const std::lock_guard lock(state_->mutex);
  return state_->entries.size();
}

}  // namespace tarvelo::service
