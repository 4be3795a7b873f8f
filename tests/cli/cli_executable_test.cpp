// tarvelo-cli as a script runs it: against the reference service, against a scripted server that
// fails its last exchange, and with a command line it must refuse.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <numeric>
#include <regex>
#include <sstream>

#include "support/service_process.h"
#include "support/window_driver.h"

namespace {

using namespace std::chrono_literals;

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs tarvelo-cli through the shell, with nothing on standard input and standard error in a
// file, for a minute at most.
CliRun RunCli(const std::vector<std::string>& args) {
  std::string command = "timeout 60 '" TARVELO_CLI_EXE "'";
  for (const std::string& arg : args) command += " '" + arg + "'";  // none holds a quote
  char errPath[] = "/tmp/tarvelo-cli-test-XXXXXX";
  close(mkstemp(errPath));
  CliRun run;
  FILE* const out = popen((command + " </dev/null 2>" + errPath).c_str(), "r");
  char buffer[4096];
  for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, out)) > 0;)
    run.out.append(buffer, got);
  const int status = pclose(out);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errPath);
  run.err.assign(std::istreambuf_iterator<char>(err), {});
  std::remove(errPath);
  return run;
}

TEST(CliExecutable, PrintsTheWindowsFieldsAndExitsZero) {
  const tarvelo_test::ServiceProcess service;
  ASSERT_TRUE(service.running()) << service.error();
  const CliRun lines = RunCli({"--service-host", service.HostPort()});
  EXPECT_EQ(lines.exitCode, 0) << lines.err;
  EXPECT_EQ(lines.err, "");
  const std::string text = R"(added string to hello and check code page \(čćžđšČĆŽĐŠ\))";
  const std::string clock = R"(\d\d:\d\d:\d\d\.\d{3})", figure = R"(\d+\.\d{3} sec)";
  EXPECT_TRUE(std::regex_match(
      lines.out,
      std::regex("Request: <\\?xml[^\n]*<srt>" + text + "</srt>[^\n]*\nResponse: [^\n]*" +
                 "<simpleMethodResult>Hello " + text + "</simpleMethodResult>[^\n]*\n" +
                 "Times dane: 5\nBegin: " + clock + "\nEnd: " + clock + "\nDiff\\.: " + figure +
                 "\nAverage: " + figure + "\n")))
      << lines.out;
}

TEST(CliExecutable, StatsTimeEachExchangeFromTheWindowAndNameTheFailedOne) {
  // Ten exchanges pass, the 7th after 200 ms; the 11th finds its connection closed.
  std::vector<tarvelo_test::ScriptStep> script;
  for (int exchange = 1; exchange <= 10; ++exchange) {
    script.push_back(exchange == 7 ? tarvelo_test::PassingReply().After(200ms)
                                   : tarvelo_test::PassingReply());
  }
  script.push_back(tarvelo_test::ScriptStep::CloseOnAccept());
  const tarvelo_test::ScriptedServer server(script);
  const CliRun run = RunCli({"--times", "11", "--stats", "--json", "--service-host",
                             "127.0.0.1:" + std::to_string(server.port())});
  EXPECT_EQ(run.exitCode, 1);
  // The message box, and no progress line: standard error is no terminal.
  EXPECT_EQ(run.err, "Error: Exception occurred - check the network\n");
  std::smatch found;
  ASSERT_TRUE(std::regex_search(
      run.out, found,
      std::regex(R"("timesDone":10,.*"diff":"([\d.]+) sec".*"messageBoxes":\["Error: Exception )"
                 R"(occurred - check the network"\],"stats":\{"exchanges":11,"failedExchange":11,)"
                 R"(.*"exchangesMs":\[([\d.,]+)\]\}\}\n)")))
      << run.out;
  std::vector<double> ms;
  std::istringstream times(found[2]);
  for (double time; times >> time; times.ignore()) ms.push_back(time);
  ASSERT_EQ(ms.size(), 11u) << found[2];
  EXPECT_EQ(std::max_element(ms.begin(), ms.end()) - ms.begin(), 6);
  EXPECT_GE(ms[6], 200);
  // The exchanges' times cover the run that Diff. measures, within its clock's resolution.
  EXPECT_NEAR(std::accumulate(ms.begin(), ms.end(), 0.0), std::stod(found[1]) * 1000, 5);
}

TEST(CliExecutable, AUsageErrorExitsTwoWithTheReasonAndTheUsage) {
  const CliRun refused = RunCli({"--times", "12345"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_EQ(refused.out, "");
  EXPECT_TRUE(std::regex_match(refused.err, std::regex("tarvelo-cli: --times has 5 characters; "
                                                       "[^\n]*\n\nUsage: tarvelo-cli [^]*")))
      << refused.err;
}

}  // namespace
