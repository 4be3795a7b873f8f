// tarvelo-service as scripts and other tests use it: the line it prints, its exit codes, signals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <regex>
#include <thread>

#include "request_builder.h"
#include "socket_client.h"

extern char** environ;

namespace tarvelo::service {
namespace {

using namespace std::chrono_literals;

// The service executable run as a child with its standard output and error in pipes, started the
// way a shell with a low descriptor limit starts it.
class ChildService {
 public:
  explicit ChildService(std::vector<std::string> arguments) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    arguments.insert(arguments.begin(), {"/bin/sh", "-c", R"(ulimit -Sn 256; exec "$0" "$@")",
                                         TARVELO_SERVICE_EXECUTABLE});
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
    if (failed != 0) throw std::runtime_error("cannot start " + arguments[0]);
  }

  ~ChildService() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    ::close(out_);
    ::close(err_);
  }

  // The first line of standard output, waiting at most `limit`.
  std::string first_line(std::chrono::milliseconds limit) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (text.find('\n') == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd waiting{out_, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) break;
      char buffer[256];
      const ssize_t got = ::read(out_, buffer, sizeof buffer);
      if (got <= 0) break;
      text.append(buffer, static_cast<std::size_t>(got));
    }
    return text.substr(0, text.find('\n'));
  }

  // Everything on a stream once the child has ended.
  std::string rest_of(bool standard_error) {
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(standard_error ? err_ : out_, buffer, sizeof buffer)) > 0) {
      text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
  }

  void signal(int number) { ::kill(pid_, number); }

  // The soft and hard limits on open files, as the system holds them for the child.
  std::string descriptor_limits() const {
    std::ifstream limits("/proc/" + std::to_string(pid_) + "/limits");
    std::string line;
    while (std::getline(limits, line)) {
      if (line.starts_with("Max open files")) return line;
    }
    return "(none)";
  }

  // The exit code once the child ends within `limit`; nothing if it runs on or dies by a signal.
  std::optional<int> exit_code(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
      if (ended == pid_) {
        pid_ = -1;
        if (WIFEXITED(status)) return WEXITSTATUS(status);
        return std::nullopt;
      }
      std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
};

TEST(ServiceExecutable, PrintsItsAddressAnswersAndStopsOnSignals) {
  for (const int stop_signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(stop_signal);
    ChildService child({"--listen", "127.0.0.1:0", "--threads", "2", "--access-log"});
    const std::string line = child.first_line(10s);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(
        line, match,
        std::regex(R"(tarvelo-service listening on http://127\.0\.0\.1:(\d+)/Service\.asmx)")))
        << line;
    const int port = std::stoi(match[1].str());
    ASSERT_GT(port, 0);

    std::smatch limits;
    const std::string limits_line = child.descriptor_limits();
    ASSERT_TRUE(std::regex_search(limits_line, limits, std::regex(R"((\d+) +(\d+) +files)")))
        << limits_line;
    EXPECT_EQ(limits[1].str(), limits[2].str()) << "the soft limit is raised to the hard one";

    const std::string body = testing::tool_envelope("cli", TARVELO_SERVICE_NAMESPACE);
    const testing::WireReply reply =
        testing::exchange(port, testing::call_head(body.size()) + body, 10s);
    EXPECT_EQ(reply.status, 200) << reply.head;
    EXPECT_NE(reply.body.find("<simpleMethodResult>Hello cli</simpleMethodResult>"),
              std::string::npos);

    child.signal(stop_signal);
    EXPECT_EQ(child.exit_code(10s), 0);
    EXPECT_TRUE(std::regex_match(child.rest_of(true),
                                 std::regex(R"(127\.0\.0\.1 POST /Service\.asmx 200 \d+\n)")));
  }
}

TEST(ServiceExecutable, ExitCodesTellUsageFromFailure) {
  struct Row {
    std::vector<std::string> arguments;
    int code;
    bool on_error;  // the text is on standard error rather than standard output
    const char* text_part;
  };
  for (const Row& row : {
           Row{{"--help"}, 0, false, "Usage: tarvelo-service"},
           Row{{"--version"}, 0, false, "tarvelo-service "},
           Row{{"--bogus"}, 2, true, "tarvelo-service: unknown option --bogus"},
           Row{{"--threads", "0"}, 2, true, "Try 'tarvelo-service --help'"},
           Row{{"--listen", "203.0.113.7:1"}, 1, true, "cannot listen on 203.0.113.7:1"},
       }) {
    ChildService child(row.arguments);
    EXPECT_EQ(child.exit_code(10s), row.code) << row.arguments.front();
    const std::string text = child.rest_of(row.on_error);
    EXPECT_NE(text.find(row.text_part), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace tarvelo::service
