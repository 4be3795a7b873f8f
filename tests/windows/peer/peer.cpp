// Runs a command with the service ends that the window tests talk to, each named by an
// environment variable as "127.0.0.1:<port>":
//   TARVELO_TEST_SERVICE   the reference service (tarvelo-service)
//   TARVELO_TEST_SCRIPTED  a server that answers its first request with a SOAP fault (500), its
//                          second with a reply without the result element (200), and then
//                          stops listening, so that further connections are refused
// Wine shares the network and passes the environment on, so the Windows programs reach them.
// Exits with the command's code, 2 when the service does not start.
//   tarvelo-windows-peer <command> [arguments...]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/service_process.h"
#include "support/window_driver.h"

int main(int argc, char** argv) {
  const tarvelo_test::ServiceProcess service;
  // The replies of the Linux tests of the same behaviours.
  const auto reply = [](const char* status, const std::string& body) {
    return tarvelo_test::ReplyStep(
        status, "<soap:Envelope><soap:Body>" + body + "</soap:Body></soap:Envelope>");
  };
  const tarvelo_test::ScriptedServer scripted({reply("500 Internal Server Error", "<soap:Fault/>"),
                                               reply("200 OK", "<simpleMethodResponse/>")});
  if (argc < 2 || !service.running()) {
    std::fprintf(stderr, "usage: tarvelo-windows-peer <command> [arguments...] (%s)\n",
                 service.error().c_str());
    return 2;
  }
  setenv("TARVELO_TEST_SERVICE", service.HostPort().c_str(), 1);
  setenv("TARVELO_TEST_SCRIPTED", ("127.0.0.1:" + std::to_string(scripted.port())).c_str(), 1);
  std::string command;  // each argument quoted: the build's paths hold no quote
  for (int i = 1; i < argc; ++i) command += std::string(" '") + argv[i] + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
