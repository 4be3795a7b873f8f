#include "support/service_process.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/free_port.h"

extern char** environ;

namespace tarvelo_test {
namespace {

#ifdef TARVELO_SERVICE_EXE
constexpr const char* kServiceExecutable = TARVELO_SERVICE_EXE;
#else
constexpr const char* kServiceExecutable = nullptr;
#endif

bool Accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
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
  const int port = FreePort();
  std::vector<std::string> arguments = {kServiceExecutable, "--listen",
                                        "127.0.0.1:" + std::to_string(port)};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    pid_ = -1;
    error_ = std::string("cannot start ") + kServiceExecutable;
    return;
  }
  for (int attempt = 0; attempt < 1000 && port_ == 0; ++attempt) {  // 10 s at most
    if (Accepts(port)) {
      port_ = port;
    } else {
      usleep(10'000);
    }
  }
  if (port_ == 0) error_ = "tarvelo-service did not listen within 10 s";
}

ServiceProcess::~ServiceProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  for (int wait = 0; wait < 500; ++wait) {  // 5 s at most
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    usleep(10'000);
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

std::string ServiceProcess::HostPort() const {
  return "127.0.0.1:" + std::to_string(port_);
}

std::string ServiceProcess::Url() const {
  return "http://" + HostPort() + "/Service.asmx";
}

}  // namespace tarvelo_test
