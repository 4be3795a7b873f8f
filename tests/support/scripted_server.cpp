#include "support/scripted_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "support/http_text.h"

namespace tarvelo_test {
namespace {

constexpr int kPollMs = 20;  // how often waiting threads look whether the server stops

// Waits until fd is ready for events; false when the server stops first or the wait fails.
bool WaitFor(int fd, short events, const std::atomic<bool>& stopping) {
  while (!stopping.load()) {
    pollfd entry{fd, events, 0};
    const int ready = poll(&entry, 1, kPollMs);
    if (ready != 0) return ready > 0;
  }
  return false;
}

bool SendAll(int fd, std::string_view bytes, const std::atomic<bool>& stopping) {
  while (!bytes.empty() && WaitFor(fd, POLLOUT, stopping)) {
    const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return bytes.empty();
}

// Reads one request (head and Content-Length body) from fd; bytes after it stay in pending.
// False when the client has left or the server stops.
bool ReadRequest(int fd, std::string& pending, std::string& request,
                 const std::atomic<bool>& stopping) {
  char chunk[65536];
  for (;;) {
    const std::size_t headEnd = pending.find("\r\n\r\n");
    if (headEnd != std::string::npos) {
      const auto length = ParseRequest(pending.substr(0, headEnd)).Header("Content-Length");
      const std::size_t total = headEnd + 4 + (length ? std::stoul(*length) : 0);
      if (pending.size() >= total) {
        request = pending.substr(0, total);
        pending.erase(0, total);
        return true;
      }
    }
    if (!WaitFor(fd, POLLIN, stopping)) return false;
    const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
    if (got <= 0) return false;
    pending.append(chunk, static_cast<std::size_t>(got));
  }
}

}  // namespace

ScriptedServer::ScriptedServer(std::vector<ScriptStep> script, WhenDone whenDone)
    : script_(std::move(script)), whenDone_(whenDone) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener_ >= 0) close(listener_);
    throw std::runtime_error("ScriptedServer: cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Listen(); });
}

ScriptedServer::~ScriptedServer() {
  stopping_ = true;
  thread_.join();
}

std::string ScriptedServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> ScriptedServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

std::optional<ScriptStep> ScriptedServer::NextStep() {
  if (nextStep_ < script_.size()) return script_[nextStep_++];
  if (whenDone_ == WhenDone::kRepeatLastStep && !script_.empty()) return script_.back();
  return std::nullopt;
}

void ScriptedServer::Listen() {
  while (whenDone_ == WhenDone::kRepeatLastStep || nextStep_ < script_.size()) {
    if (!WaitFor(listener_, POLLIN, stopping_)) break;
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++accepted_;
    if (nextStep_ < script_.size() && script_[nextStep_].kind == ScriptStep::Kind::kCloseOnAccept) {
      ++nextStep_;
      close(fd);
    } else {
      Serve(fd);
    }
  }
  close(listener_);  // from here on connections are refused
}

void ScriptedServer::Serve(int fd) {
  std::string pending, request;
  while (ReadRequest(fd, pending, request, stopping_)) {
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    const std::optional<ScriptStep> step = NextStep();
    if (!step) break;
    std::this_thread::sleep_for(step->delay);
    if (!SendAll(fd, step->bytes, stopping_) || step->kind != ScriptStep::Kind::kReply) break;
  }
  close(fd);
}

}  // namespace tarvelo_test
