// A misbehaving-on-purpose HTTP server on 127.0.0.1 for tests.
//
// It listens on a free port in its own threads and plays a script: each request it receives
// (read as headers plus a Content-Length body, and recorded byte for byte) takes the next step
// of the script. When the script is used up the server stops listening, so further
// connections are refused (or, if asked, the last step is played again for every further
// request). The destructor stops everything, including steps that hang.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tarvelo_test {

struct ScriptStep {
  enum class Kind {
    kReply,          // send the bytes, keep the connection for further requests
    kReplyAndClose,  // send the bytes, then close
    kCloseOnAccept,  // close the connection as soon as it is accepted, reading nothing
    kResetAfter,     // send the bytes, then reset the connection (RST)
    kStallAfter,     // send the bytes, then say nothing until the client leaves or the test ends
  };
  Kind kind;
  std::string bytes;
  std::chrono::milliseconds delay{0};  // how long the request waits for the step's bytes

  static ScriptStep Reply(std::string bytes) { return {Kind::kReply, std::move(bytes)}; }
  static ScriptStep ReplyAndClose(std::string bytes) {
    return {Kind::kReplyAndClose, std::move(bytes)};
  }
  static ScriptStep CloseOnAccept() { return {Kind::kCloseOnAccept, {}}; }
  static ScriptStep ResetAfter(std::string bytes) { return {Kind::kResetAfter, std::move(bytes)}; }
  static ScriptStep StallAfter(std::string bytes) { return {Kind::kStallAfter, std::move(bytes)}; }
  static ScriptStep Hang() { return {Kind::kStallAfter, {}}; }
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
  // Connections that the client closed (seen as end of input while the server waited).
  int ConnectionsClosedByClient() const {
    const std::lock_guard lock(mutex_);
    return closedByClient_;
  }
  // Waits until at least count connections were closed by the client; false on time-out.
  bool WaitForClientCloses(int count, std::chrono::milliseconds timeout) const;

 private:
  void AcceptLoop();
  void Serve(int fd);
  bool NextStep(ScriptStep& step);
  bool ScriptUsedUp() const;
  void NoteClientClosed();

  std::vector<ScriptStep> script_;
  std::size_t nextStep_ = 0;
  const WhenDone whenDone_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  mutable std::mutex mutex_;
  int closedByClient_ = 0;
  mutable std::condition_variable changed_;
  std::vector<std::string> requests_;
  std::vector<std::thread> handlers_;
  std::thread acceptor_;
};

}  // namespace tarvelo_test
