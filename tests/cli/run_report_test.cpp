// How tarvelo-cli prints the window after a run, and the exit status it gives.
#include "cli/run_report.h"

#include <gtest/gtest.h>

#include "flat_json.h"

namespace {

RunReport SampleReport() {
  using std::string;  // whole strings assigned: gcc 12 misjudges literal assignment at -O3
  RunReport report;
  report.ran = true;
  report.timesTyped = string("5");
  report.request = string("<srt>a</srt>");
  report.response = string("<simpleMethodResult>Hello a</simpleMethodResult>");
  report.timesDone = string("5");
  report.begin = string("09:05:03.007");
  report.end = string("09:05:04.241");
  report.diff = string("1.234 sec");
  report.average = string("0.247 sec");
  return report;
}

TEST(RunReport, LinesCarryTheWindowsLabelsInItsOrder) {
  EXPECT_EQ(FormatLines(SampleReport()),
            "Request: <srt>a</srt>\n"
            "Response: <simpleMethodResult>Hello a</simpleMethodResult>\n"
            "Times dane: 5\n"
            "Begin: 09:05:03.007\n"
            "End: 09:05:04.241\n"
            "Diff.: 1.234 sec\n"
            "Average: 0.247 sec\n");
}

TEST(RunReport, JsonReadsBackToTheSameFields) {
  RunReport report = SampleReport();
  // Texts that need escaping: quotes, backslashes, line ends, other control characters, and
  // UTF-8 that passes as it is.
  report.response = "line 1\r\nline \"2\"\t\\ end\x01\x1F čć €";
  report.timesTyped = std::string("12x");
  report.timesDone = std::string("3");
  report.messageBoxes = {"Error: Exception occurred - check the network", "a \"quoted\" box"};
  const std::string json = FormatJson(report);
  EXPECT_TRUE(json.ends_with("}\n"));

  std::string error;
  const std::optional<cli_test::FlatJsonObject> object = cli_test::ReadFlatJson(json, &error);
  ASSERT_TRUE(object.has_value()) << error << "\n" << json;
  using Kind = cli_test::FlatJsonValue::Kind;
  const auto text = [&](const char* name) {
    const auto found = object->find(name);
    EXPECT_NE(found, object->end()) << name;
    if (found == object->end()) return std::string("<missing>");
    EXPECT_EQ(found->second.kind, Kind::kString) << name;
    return found->second.text;
  };
  EXPECT_EQ(text("request"), report.request);
  EXPECT_EQ(text("response"), report.response);
  EXPECT_EQ(text("times"), "12x");
  EXPECT_EQ(text("begin"), report.begin);
  EXPECT_EQ(text("end"), report.end);
  EXPECT_EQ(text("diff"), report.diff);
  EXPECT_EQ(text("average"), report.average);
  ASSERT_EQ(object->count("timesDone"), 1u);
  EXPECT_EQ(object->at("timesDone").kind, Kind::kInteger);
  EXPECT_EQ(object->at("timesDone").integer, 3);
  ASSERT_EQ(object->count("messageBoxes"), 1u);
  EXPECT_EQ(object->at("messageBoxes").items, report.messageBoxes);
  EXPECT_EQ(object->size(), 9u);
}

TEST(RunReport, TheExitStatusIsZeroOnlyWhenEveryRequestedExchangePassed) {
  struct Case {
    const char* typed;
    const char* done;
    bool ran;
    int status;
  };
  const Case cases[] = {
      {"5", "5", true, 0},   {"12x", "12", true, 0}, {" 7", "7", true, 0}, {"+3", "3", true, 0},
      {"5", "3", true, 1},   {"5", "0", true, 1},    {"0", "0", true, 1},  {"-3", "0", true, 1},
      {"abc", "0", true, 1}, {"", "0", true, 1},     {"5", "", false, 1},
  };
  for (const Case& c : cases) {
    RunReport report;
    report.ran = c.ran;
    report.timesTyped = c.typed;
    report.timesDone = c.done;
    EXPECT_EQ(ExitStatus(report), c.status) << "\"" << c.typed << "\" / \"" << c.done << "\"";
  }
}

}  // namespace
