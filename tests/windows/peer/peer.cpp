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
#include <vector>

#include "support/free_port.h"
#include "support/http_text.h"
#include "support/scripted_server.h"
#include "support/service_process.h"

extern char** environ;

namespace {

using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;

// The replies that the Linux tests of the same behaviours use.
const std::string kFaultBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>"
    "<soap:Fault><soap:Code><soap:Value>soap:Receiver</soap:Value></soap:Code>"
    "<soap:Reason><soap:Text xml:lang=\"en\">Server was unable to process request.</soap:Text>"
    "</soap:Reason></soap:Fault></soap:Body></soap:Envelope>";
const std::string kNoResultBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>"
    "<simpleMethodResponse xmlns=\"http://tempuri.org/\"/></soap:Body></soap:Envelope>";

ScriptStep Answer(const char* status, const std::string& body) {
  return ScriptStep::ReplyAndClose(tarvelo_test::HttpReply(
      status, {"Content-Type: application/soap+xml; charset=utf-8", "Connection: close"}, body));
}

std::string Local(int port) {
  return "127.0.0.1:" + std::to_string(port);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tarvelo-windows-peer <command> [arguments...]\n");
    return 2;
  }
  tarvelo_test::ServiceProcess service;
  if (!service.running()) {
    std::fprintf(stderr, "tarvelo-windows-peer: %s\n", service.error().c_str());
    return 1;
  }
  const ScriptedServer fault({Answer("500 Internal Server Error", kFaultBody)},
                             ScriptedServer::WhenDone::kRepeatLastStep);
  const ScriptedServer noResult({Answer("200 OK", kNoResultBody)},
                                ScriptedServer::WhenDone::kRepeatLastStep);
  setenv("TARVELO_TEST_SERVICE", service.HostPort().c_str(), 1);
  setenv("TARVELO_TEST_FAULT", Local(fault.port()).c_str(), 1);
  setenv("TARVELO_TEST_NO_RESULT", Local(noResult.port()).c_str(), 1);
  setenv("TARVELO_TEST_REFUSED", Local(tarvelo_test::FreePort()).c_str(), 1);

  pid_t child = -1;
  if (posix_spawnp(&child, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
    std::fprintf(stderr, "tarvelo-windows-peer: cannot run %s\n", argv[1]);
    return 1;
  }
  int status = 0;
  pid_t waited = -1;
  do {
    waited = waitpid(child, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited == child && WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
