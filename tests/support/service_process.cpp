#include "support/service_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

extern char** environ;

namespace tarvelo_test {
namespace {

#ifdef TARVELO_SERVICE_EXE
constexpr const char* kServiceExecutable = TARVELO_SERVICE_EXE;
#else
constexpr const char* kServiceExecutable = nullptr;
#endif

constexpr int kStartTimeoutMs = 10'000;
constexpr auto kStopTimeout = std::chrono::seconds(5);

// Reads the first line of fd within the time limit; empty when none came.
std::string ReadFirstLine(int fd) {
  std::string line;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
  while (line.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return {};
    pollfd entry{fd, POLLIN, 0};
    if (poll(&entry, 1, static_cast<int>(left.count())) <= 0) return {};
    char byte;
    if (read(fd, &byte, 1) != 1) return {};
    line += byte;
  }
  return line;
}

// The port of "... listening on http://127.0.0.1:PORT/...", or 0.
int PortFromBanner(const std::string& line) {
  const std::string marker = "http://127.0.0.1:";
  const std::size_t at = line.find(marker);
  if (at == std::string::npos) return 0;
  return std::atoi(line.c_str() + at + marker.size());
}

}  // namespace

bool ServiceProcess::Available() {
  return kServiceExecutable != nullptr;
}

ServiceProcess::ServiceProcess(const std::vector<std::string>& extraArguments) {
  if (!Available()) {
    error_ = "tarvelo-service was not built";
    return;
  }
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    error_ = "no pipe";
    return;
  }
  output_ = pipeEnds[0];

  std::vector<std::string> arguments = {kServiceExecutable, "--listen", "127.0.0.1:0"};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  const int spawned =
      posix_spawn(&pid_, arguments[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    pid_ = -1;
    error_ = std::string("cannot start ") + kServiceExecutable;
    return;
  }

  const std::string banner = ReadFirstLine(output_);
  port_ = PortFromBanner(banner);
  if (port_ == 0) {
    error_ = "the service did not announce its port (first line: \"" + banner + "\")";
    Stop();
    return;
  }
  drain_ = std::thread([fd = output_] {
    char buffer[4096];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
  });
}

ServiceProcess::~ServiceProcess() {
  Stop();
}

void ServiceProcess::Stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      usleep(5'000);
    }
    pid_ = -1;
  }
  if (drain_.joinable()) drain_.join();  // the output ends with the process
  if (output_ >= 0) close(output_);
  output_ = -1;
  port_ = 0;
}

std::string ServiceProcess::HostPort() const {
  return "127.0.0.1:" + std::to_string(port_);
}

std::string ServiceProcess::Url() const {
  return "http://" + HostPort() + "/Service.asmx";
}

}  // namespace tarvelo_test
