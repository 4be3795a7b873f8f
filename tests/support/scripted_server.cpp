#include "support/scripted_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "support/http_text.h"

namespace tarvelo_test {
namespace {

constexpr int kPollMs = 20;                          // how often waiting threads look at stop
constexpr std::size_t kLargestRequest = 256u << 20;  // a bound on what one request may hold

enum class Wait { kReady, kStopped, kFailed };

Wait WaitFor(int fd, short events, const std::atomic<bool>& stopping) {
  while (!stopping.load()) {
    pollfd entry{fd, events, 0};
    const int ready = poll(&entry, 1, kPollMs);
    if (ready > 0)
      return (entry.revents & (events | POLLHUP | POLLERR)) ? Wait::kReady : Wait::kFailed;
    if (ready < 0) return Wait::kFailed;
  }
  return Wait::kStopped;
}

bool SendAll(int fd, std::string_view bytes, const std::atomic<bool>& stopping) {
  while (!bytes.empty()) {
    if (WaitFor(fd, POLLOUT, stopping) != Wait::kReady) return false;
    const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// The Content-Length of a request head, 0 when it has none.
std::size_t ContentLength(std::string_view head) {
  const auto length = ParseRequest(std::string(head) + "\r\n\r\n").Header("Content-Length");
  return length ? std::strtoull(length->c_str(), nullptr, 10) : 0;
}

enum class ReadResult { kRequest, kClientClosed, kStopped, kTooLarge };

// Reads one request (head and Content-Length body) from fd; bytes past it stay in pending.
ReadResult ReadRequest(int fd, std::string& pending, std::string& request,
                       const std::atomic<bool>& stopping) {
  std::optional<std::size_t> total;
  char chunk[65536];
  for (;;) {
    if (!total) {
      const std::size_t headEnd = pending.find("\r\n\r\n");
      if (headEnd != std::string::npos)
        total = headEnd + 4 + ContentLength(std::string_view(pending).substr(0, headEnd));
    }
    if (total && pending.size() >= *total) {
      request = pending.substr(0, *total);
      pending.erase(0, *total);
      return ReadResult::kRequest;
    }
    if (pending.size() > kLargestRequest) return ReadResult::kTooLarge;
    const Wait wait = WaitFor(fd, POLLIN, stopping);
    if (wait == Wait::kStopped) return ReadResult::kStopped;
    const ssize_t got = wait == Wait::kReady ? recv(fd, chunk, sizeof chunk, 0) : -1;
    if (got <= 0) return ReadResult::kClientClosed;
    pending.append(chunk, static_cast<std::size_t>(got));
  }
}

// Waits until the client closes the connection or the server stops; true when the client did.
bool WaitForClientToLeave(int fd, const std::atomic<bool>& stopping) {
  char chunk[4096];
  for (;;) {
    const Wait wait = WaitFor(fd, POLLIN, stopping);
    if (wait == Wait::kStopped) return false;
    if (wait == Wait::kFailed) return true;
    if (recv(fd, chunk, sizeof chunk, 0) <= 0) return true;  // further bytes are ignored
  }
}

void ResetConnection(int fd) {
  const linger abortive{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  close(fd);
}

}  // namespace

ScriptedServer::ScriptedServer(std::vector<ScriptStep> script, WhenDone whenDone)
    : script_(std::move(script)), whenDone_(whenDone) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) throw std::runtime_error("ScriptedServer: no socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(listener_);
    throw std::runtime_error("ScriptedServer: cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

ScriptedServer::~ScriptedServer() {
  stopping_ = true;
  acceptor_.join();
  std::vector<std::thread> handlers;
  {
    const std::lock_guard lock(mutex_);
    handlers.swap(handlers_);
  }
  for (auto& handler : handlers) handler.join();
}

std::string ScriptedServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> ScriptedServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

bool ScriptedServer::WaitForClientCloses(int count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return closedByClient_ >= count; });
}

void ScriptedServer::NoteClientClosed() {
  const std::lock_guard lock(mutex_);
  ++closedByClient_;
  changed_.notify_all();
}

bool ScriptedServer::ScriptUsedUp() const {
  const std::lock_guard lock(mutex_);
  return whenDone_ == WhenDone::kStopListening && nextStep_ >= script_.size();
}

bool ScriptedServer::NextStep(ScriptStep& step) {
  const std::lock_guard lock(mutex_);
  if (nextStep_ < script_.size()) {
    step = script_[nextStep_++];
    return true;
  }
  if (whenDone_ == WhenDone::kRepeatLastStep && !script_.empty()) {
    step = script_.back();
    return true;
  }
  return false;
}

void ScriptedServer::AcceptLoop() {
  while (!stopping_.load() && !ScriptUsedUp()) {
    if (WaitFor(listener_, POLLIN, stopping_) != Wait::kReady) continue;
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++accepted_;
    {
      const std::lock_guard lock(mutex_);
      if (nextStep_ < script_.size() &&
          script_[nextStep_].kind == ScriptStep::Kind::kCloseOnAccept) {
        ++nextStep_;
        close(fd);
        continue;
      }
      handlers_.emplace_back([this, fd] { Serve(fd); });
    }
  }
  close(listener_);  // from here on connections are refused
}

void ScriptedServer::Serve(int fd) {
  std::string pending;
  for (;;) {
    std::string request;
    const ReadResult read = ReadRequest(fd, pending, request, stopping_);
    if (read == ReadResult::kClientClosed) NoteClientClosed();
    if (read != ReadResult::kRequest) break;
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(std::move(request));
    }
    ScriptStep step;
    if (!NextStep(step) || step.kind == ScriptStep::Kind::kCloseOnAccept) break;
    std::this_thread::sleep_for(step.delay);
    if (!SendAll(fd, step.bytes, stopping_)) break;
    if (step.kind == ScriptStep::Kind::kReply) continue;
    if (step.kind == ScriptStep::Kind::kResetAfter) {
      ResetConnection(fd);
      return;
    }
    if (step.kind == ScriptStep::Kind::kStallAfter && WaitForClientToLeave(fd, stopping_))
      NoteClientClosed();
    break;
  }
  close(fd);
}

}  // namespace tarvelo_test
