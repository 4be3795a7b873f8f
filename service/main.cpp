// tarvelo-service: the reference SOAP service that tarvelo talks to out of the box.
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <exception>
#include <string_view>
#include <variant>
#include <vector>

#include "service/command_line.h"
#include "service/service_server.h"

namespace {

using tarvelo::service::CommandAction;
using tarvelo::service::CommandLine;
using tarvelo::service::ServiceServer;
using tarvelo::service::UsageError;

constexpr int kExitStopped = 0;
constexpr int kExitCannotListen = 1;
constexpr int kExitUsage = 2;

// As many connections as the system lets this process hold, whatever the shell that started it
// allowed: each connection is a descriptor.
void raise_descriptor_limit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }
}

int serve(const CommandLine& line) {
  // SIGINT and SIGTERM are blocked in every thread (the server's threads inherit the mask) and
  // taken here, so that the server stops in an ordinary context rather than a signal handler.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  raise_descriptor_limit();

  ServiceServer server(line.options);
  try {
    server.listen();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarvelo-service: %s\n", e.what());
    return kExitCannotListen;
  }
  std::printf("tarvelo-service listening on %s\n", server.url().c_str());
  std::fflush(stdout);

  int received = 0;
  sigwait(&stop_signals, &received);
  server.stop();
  return kExitStopped;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const auto parsed = tarvelo::service::parse_command_line(arguments);
  if (const auto* problem = std::get_if<UsageError>(&parsed)) {
    std::fprintf(stderr, "tarvelo-service: %s\nTry 'tarvelo-service --help'.\n",
                 problem->message.c_str());
    return kExitUsage;
  }
  const auto& line = std::get<CommandLine>(parsed);
  switch (line.action) {
    case CommandAction::help:
      std::fputs(tarvelo::service::usage_text().c_str(), stdout);
      return 0;
    case CommandAction::version:
      std::fputs(tarvelo::service::version_text().c_str(), stdout);
      return 0;
    case CommandAction::serve:
      break;
  }
  return serve(line);
}
