// Runs a command with the service ends that the Windows tests talk to, each named by an
// environment variable as "127.0.0.1:<port>":
//   TARVELO_TEST_SERVICE    the reference service (tarvelo-service)
//   TARVELO_TEST_FAULT      a server that answers 500 with a SOAP fault
//   TARVELO_TEST_NO_RESULT  a server that answers 200 with a reply without the result element
//   TARVELO_TEST_REFUSED    a port nothing listens on
// Wine shares the network and passes the environment on, so the Windows programs reach them.
// Exits with the command's code.
//   tarvelo-windows-peer <command> [arguments...]
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/free_port.h"
#include "support/service_process.h"
#include "support/window_driver.h"

extern char** environ;

namespace {

void SetEnd(const char* variable, int port) {
  setenv(variable, ("127.0.0.1:" + std::to_string(port)).c_str(), 1);
}

}  // namespace

int main(int argc, char** argv) {
  using tarvelo_test::ScriptedServer;
  const tarvelo_test::ServiceProcess service;
  if (argc < 2 || !service.running()) {
    std::fprintf(stderr, "usage: tarvelo-windows-peer <command> [arguments...] (%s)\n",
                 service.error().c_str());
    return 2;
  }
  // The replies of the Linux tests of the same behaviours.
  const ScriptedServer fault(
      {tarvelo_test::ReplyStep(
          "500 Internal Server Error",
          "<soap:Envelope><soap:Body><soap:Fault/></soap:Body></soap:Envelope>")},
      ScriptedServer::WhenDone::kRepeatLastStep);
  const ScriptedServer noResult(
      {tarvelo_test::ReplyStep("200 OK",
                               "<soap:Envelope><soap:Body><simpleMethodResponse/>"
                               "</soap:Body></soap:Envelope>")},
      ScriptedServer::WhenDone::kRepeatLastStep);
  setenv("TARVELO_TEST_SERVICE", service.HostPort().c_str(), 1);
  SetEnd("TARVELO_TEST_FAULT", fault.port());
  SetEnd("TARVELO_TEST_NO_RESULT", noResult.port());
  SetEnd("TARVELO_TEST_REFUSED", tarvelo_test::FreePort());

  pid_t child = -1;
  if (posix_spawnp(&child, argv[1], nullptr, nullptr, argv + 1, environ) != 0) return 1;
  int status = -1;  // not an exit, should waitpid fail
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
