// tarvelo-cli as a script runs it: against the reference service, against nothing, and with
// command lines it must refuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "flat_json.h"
#include "support/free_port.h"
#include "support/service_process.h"
#include "support/window_driver.h"

namespace {

using cli_test::ChildResult;
using cli_test::RunChild;

constexpr char kCli[] = TARVELO_CLI_EXE;
constexpr char kFailureLine[] = "Error: Exception occurred - check the network\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The value of "Label: value" in the output, or "<missing>".
std::string Field(const std::string& out, const std::string& label) {
  for (const std::string& line : Lines(out)) {
    if (line.rfind(label + ": ", 0) == 0) return line.substr(label.size() + 2);
  }
  return "<missing>";
}

class CliExecutableTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_service = new tarvelo_test::ServiceProcess(); }
  static void TearDownTestSuite() {
    delete s_service;
    s_service = nullptr;
  }
  static std::string ServiceHost() {
    EXPECT_TRUE(s_service->running()) << s_service->error();
    return s_service->HostPort();
  }
  static tarvelo_test::ServiceProcess* s_service;
};

tarvelo_test::ServiceProcess* CliExecutableTest::s_service = nullptr;

TEST_F(CliExecutableTest, ADefaultRunPrintsTheWindowsFieldsAndExitsZero) {
  const ChildResult run = RunChild(kCli, {"--service-host", ServiceHost()});
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> lines = Lines(run.out);
  const std::vector<std::string> labels = {"Request", "Response", "Times dane", "Begin",
                                           "End",     "Diff.",    "Average"};
  ASSERT_EQ(lines.size(), labels.size()) << run.out;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(lines[i].rfind(labels[i] + ": ", 0), 0u) << lines[i];
  }
  EXPECT_EQ(Field(run.out, "Times dane"), "5");
  EXPECT_NE(Field(run.out, "Request")
                .find("<srt>added string to hello and check code page (čćžđšČĆŽĐŠ)</srt>"),
            std::string::npos);
  EXPECT_NE(Field(run.out, "Response")
                .find("<simpleMethodResult>Hello added string to hello and check code page "
                      "(čćžđšČĆŽĐŠ)</simpleMethodResult>"),
            std::string::npos);
  const std::regex clock(R"(\d{2}:\d{2}:\d{2}\.\d{3})");
  const std::regex figure(R"(\d+\.\d{3} sec)");
  EXPECT_TRUE(std::regex_match(Field(run.out, "Begin"), clock)) << run.out;
  EXPECT_TRUE(std::regex_match(Field(run.out, "End"), clock)) << run.out;
  EXPECT_TRUE(std::regex_match(Field(run.out, "Diff."), figure)) << run.out;
  EXPECT_TRUE(std::regex_match(Field(run.out, "Average"), figure)) << run.out;
  EXPECT_LE(std::stod(Field(run.out, "Average")), std::stod(Field(run.out, "Diff.")));
}

TEST_F(CliExecutableTest, JsonOutputIsOneParseableObject) {
  const ChildResult run = RunChild(kCli, {"--json", "--times", "3", "--text", "Tom & \"Jerry\" čć",
                                          "--service-host", ServiceHost()});
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  std::string error;
  const auto object = cli_test::ReadFlatJson(run.out, &error);
  ASSERT_TRUE(object.has_value()) << error << "\n" << run.out;
  EXPECT_EQ(object->at("times").text, "3");
  EXPECT_EQ(object->at("timesDone").integer, 3);
  EXPECT_NE(object->at("request").text.find("<srt>Tom &amp; \"Jerry\" čć</srt>"), std::string::npos)
      << object->at("request").text;
  EXPECT_NE(
      object->at("response")
          .text.find(
              "<simpleMethodResult>Hello Tom &amp; &quot;Jerry&quot; čć</simpleMethodResult>"),
      std::string::npos)
      << object->at("response").text;
  EXPECT_TRUE(object->at("messageBoxes").items.empty());
  EXPECT_TRUE(std::regex_match(object->at("diff").text, std::regex(R"(\d+\.\d{3} sec)")));
}

TEST_F(CliExecutableTest, WhenNothingListensTheMessageBoxGoesToStandardError) {
  const std::string nowhere = "127.0.0.1:" + std::to_string(tarvelo_test::FreePort());
  const ChildResult lines = RunChild(kCli, {"--service-host", nowhere});
  ASSERT_FALSE(lines.timedOut);
  EXPECT_EQ(lines.exitCode, 1);
  EXPECT_EQ(lines.err, kFailureLine);
  EXPECT_EQ(Field(lines.out, "Times dane"), "0");
  EXPECT_EQ(Field(lines.out, "Response"), "");
  EXPECT_EQ(Field(lines.out, "Average"), "0.000 sec");

  const ChildResult json = RunChild(kCli, {"--json", "--service-host", nowhere});
  EXPECT_EQ(json.exitCode, 1);
  std::string error;
  const auto object = cli_test::ReadFlatJson(json.out, &error);
  ASSERT_TRUE(object.has_value()) << error << "\n" << json.out;
  EXPECT_EQ(object->at("messageBoxes").items,
            std::vector<std::string>{"Error: Exception occurred - check the network"});
  EXPECT_EQ(object->at("timesDone").integer, 0);
}

TEST_F(CliExecutableTest, TheExitStatusSaysWhetherEveryRequestedExchangePassed) {
  struct Case {
    const char* times;
    int exitCode;
    const char* done;
  };
  const Case cases[] = {{"2", 0, "2"}, {"12x", 0, "12"}, {"0", 1, "0"},
                        {"", 1, "0"},  {"-3", 1, "0"},   {"abc", 1, "0"}};
  for (const Case& c : cases) {
    const ChildResult run =
        RunChild(kCli, {"--times", c.times, "--text", "", "--service-host", ServiceHost()});
    ASSERT_FALSE(run.timedOut) << c.times;
    EXPECT_EQ(run.exitCode, c.exitCode) << "--times \"" << c.times << "\"\n" << run.err;
    EXPECT_EQ(Field(run.out, "Times dane"), c.done) << "--times \"" << c.times << "\"";
    EXPECT_NE(Field(run.out, "Request").find("<srt></srt>"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "") << c.times;
  }
}

TEST_F(CliExecutableTest, ARefusedLoginIsAFailedCheckWithoutAMessageBox) {
  tarvelo_test::ServiceProcess strict({"--user", "someone-else"});
  ASSERT_TRUE(strict.running()) << strict.error();
  const ChildResult run = RunChild(kCli, {"--service-host", strict.HostPort()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Field(run.out, "Times dane"), "0");
  EXPECT_EQ(Field(run.out, "Response"), "The user name or the password is wrong");
}

TEST(CliStats, TimesEachExchangeFromTheWindowAndMarksTheFailedOne) {
  // Ten exchanges pass, the 7th after 200 ms; the 11th finds its connection closed.
  std::vector<tarvelo_test::ScriptStep> script;
  for (int exchange = 1; exchange <= 10; ++exchange) {
    tarvelo_test::ScriptStep reply = tarvelo_test::PassingReply();
    if (exchange == 7) reply = std::move(reply).After(std::chrono::milliseconds(200));
    script.push_back(reply);
  }
  script.push_back(tarvelo_test::ScriptStep::CloseOnAccept());
  const tarvelo_test::ScriptedServer server(script);
  const ChildResult run = RunChild(kCli, {"--times", "11", "--stats", "--json", "--service-host",
                                          "127.0.0.1:" + std::to_string(server.port())});
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, kFailureLine);  // and no progress line: standard error is a pipe

  std::string error;
  const auto report = cli_test::ReadFlatJson(run.out, &error);
  ASSERT_TRUE(report.has_value()) << error << "\n" << run.out;
  EXPECT_EQ(report->at("timesDone").integer, 10);
  ASSERT_EQ(report->count("stats"), 1u) << run.out;
  const cli_test::FlatJsonObject& stats = *report->at("stats").object;
  const std::vector<double>& ms = stats.at("exchangesMs").numbers;
  ASSERT_EQ(ms.size(), 11u) << run.out;
  EXPECT_EQ(stats.at("exchanges").integer, 11);
  EXPECT_EQ(stats.at("failedExchange").integer, 11);
  EXPECT_EQ(std::max_element(ms.begin(), ms.end()) - ms.begin(), 6) << run.out;
  EXPECT_GE(ms[6], 200);
  EXPECT_EQ(stats.at("maxMs").number, ms[6]);
  EXPECT_EQ(stats.at("p99Ms").number, ms[6]);
  EXPECT_LT(stats.at("medianMs").number, 100);
  const double diffMs = std::stod(report->at("diff").text) * 1000;
  EXPECT_NEAR(std::accumulate(ms.begin(), ms.end(), 0.0), diffMs, 5) << run.out;
}

TEST(CliCommandLine, UsageErrorsExitTwoAndTellWhy) {
  struct Case {
    std::vector<std::string> args;
    const char* says;
  };
  const Case cases[] = {
      {{"--bogus"}, "tarvelo-cli: unknown option: --bogus\n"},
      {{"--times"}, "tarvelo-cli: --times needs a value\n"},
      {{"--times", "12345"}, "tarvelo-cli: --times has 5 characters"},
      {{"--text", std::string(129, 'x')}, "tarvelo-cli: --text has 129 characters"},
      {{"--text", "\xC4"}, "tarvelo-cli: --text is not valid UTF-8\n"},
      {{"--service-host", "http://127.0.0.1:1"}, "tarvelo-cli: --service-host takes HOST"},
  };
  for (const Case& c : cases) {
    const ChildResult run = RunChild(kCli, c.args);
    EXPECT_EQ(run.exitCode, 2) << c.says;
    EXPECT_EQ(run.out, "") << c.says;
    EXPECT_EQ(run.err.rfind(c.says, 0), 0u) << run.err;
    EXPECT_NE(run.err.find("\nUsage: tarvelo-cli"), std::string::npos) << run.err;
  }
}

TEST(CliCommandLine, HelpAndVersion) {
  const ChildResult help = RunChild(kCli, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("Usage: tarvelo-cli ", 0), 0u) << help.out;
  for (const char* option : {"--text TEXT", "--times N", "--service-host HOST[:PORT]", "--json",
                             "--stats", "--no-progress", "--help", "--version", "Exit status"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }

  const ChildResult version = RunChild(kCli, {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.err, "");
  EXPECT_TRUE(std::regex_match(version.out, std::regex(R"(tarvelo-cli \(Tarvelo[^)]*\) \d.*\n)")))
      << version.out;
}

}  // namespace
