// A misbehaving-on-purpose HTTP server on 127.0.0.1 for tests.
//
// It listens on a free port in a thread of its own and plays a script: each request it receives
// (a head and a Content-Length body, recorded as it came) takes the next step of the script.
// Connections are served one after another, as a client that makes one request object after
// another opens them. When the script is used up the server stops listening, so further
// connections are refused, or, if asked, it plays the last step again for every further
// request. The destructor stops everything, steps that hang included.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tarvelo_test {

struct ScriptStep {
  enum class Kind { kReply, kReplyAndClose, kCloseOnAccept };
  Kind kind;
  std::string bytes;
  std::chrono::milliseconds delay{0};  // how long the request waits for the step's bytes

  // Sends the bytes and keeps the connection for further requests.
  static ScriptStep Reply(std::string bytes) { return {Kind::kReply, std::move(bytes)}; }
  static ScriptStep ReplyAndClose(std::string bytes) {
    return {Kind::kReplyAndClose, std::move(bytes)};
  }
  // Closes the connection as soon as it is accepted, reading nothing.
  static ScriptStep CloseOnAccept() { return {Kind::kCloseOnAccept, {}}; }
  // Says nothing until the client leaves.
  static ScriptStep Hang() { return Reply({}); }
  ScriptStep After(std::chrono::milliseconds wait) && {
    delay = wait;
    return std::move(*this);
  }
};

class ScriptedServer {
 public:
  enum class WhenDone { kStopListening, kRepeatLastStep };

  explicit ScriptedServer(std::vector<ScriptStep> script,
                          WhenDone whenDone = WhenDone::kStopListening);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by path.
  std::string Url(std::string_view path = "/") const;
  // Every request received so far, raw.
  std::vector<std::string> Requests() const;
  int AcceptedConnections() const { return accepted_.load(); }

 private:
  void Listen();
  void Serve(int fd);
  std::optional<ScriptStep> NextStep();

  const std::vector<ScriptStep> script_;
  const WhenDone whenDone_;
  std::size_t nextStep_ = 0;  // the server thread's
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace tarvelo_test
