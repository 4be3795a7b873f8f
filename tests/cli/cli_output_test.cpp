// How tarvelo-cli reads its command line and prints the window after a run: the fields, each
// exchange's time and the figures made of those times, as lines and as JSON, and the exit status.
#include <gtest/gtest.h>

#include "cli/cli_options.h"
#include "cli/run_report.h"

namespace {

using namespace std::chrono_literals;

// The fields take 128 and 4 characters as the window counts them: UTF-16 units, not bytes.
TEST(CliOptions, TheFieldLimitsCountCharactersAndWhatAFieldCannotHoldIsRefused) {
  const std::string emoji = "\xF0\x9F\x98\x80";  // two units
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--text", std::string(125, 'a') + " " + emoji, "--times", "čćžš", "--service-host", "h:1",
        "--json", "--stats", "--no-progress", "-h", "--version"},
       ""},
      {{"--text", std::string(127, 'a') + emoji},
       "--text has 129 characters; the text field takes"},
      {{"--times", "12345"}, "--times has 5 characters; the count field takes at most 4"},
      {{"--text", "\xE8"}, "--text is not valid UTF-8"},
      {{"--text", "a\x1F"}, "--text cannot hold line breaks or control characters"},
      {{"--text", "a\x7F"}, "--text cannot hold line breaks or control characters"},
      {{"--times", "1\n2"}, "--times cannot hold line breaks, control characters or"},
      {{"--service-host", "user@h"}, "--service-host takes HOST or HOST:PORT, without a scheme"},
      {{"--json", "--times"}, "--times needs a value"},
      {{"--nope", "--text"}, "unknown option: --nope"}};  // the first error ends the reading
  for (const auto& [args, error] : cases) {
    const std::string actual = ParseCliOptions(args).error;
    EXPECT_EQ(error.empty() ? actual : actual.substr(0, error.size()), error)
        << testing::PrintToString(args);
  }
}

TEST(RunReport, TheExitStatusIsZeroOnlyWhenEveryRequestedExchangePassed) {
  const std::tuple<const char*, const char*, int> cases[] = {
      {"12x", "12", 0}, {"5", "4", 1}, {"0", "0", 1}};
  for (const auto& [typed, done, status] : cases) {
    RunReport report;
    report.ran = true;
    report.timesTyped = typed;
    report.timesDone = done;
    EXPECT_EQ(ExitStatus(report), status) << typed << " / " << done;
    report.ran = false;
    EXPECT_EQ(ExitStatus(report), 1) << "the dialog did not run";
  }
}

TEST(RunReport, PrintsTheFiguresOfAKnownRunAsLinesAndAsJson) {
  RunReport report;  // whole strings assigned: gcc 12 misjudges literal assignment at -O3
  report.timesTyped = std::string("12x");
  report.request = std::string("<srt>a</srt>");
  report.response = std::string("line 1\r\n\"2\"\t\\ \x01 čć");
  report.timesDone = std::string("3");
  report.begin = std::string("09:05:03.007");
  report.end = std::string("09:05:03.264");
  report.diff = std::string("0.317 sec");
  report.average = std::string("0.106 sec");
  report.messageBoxes = {"Error: Exception occurred - check the network", "b"};
  report.exchangeTimes = ExchangeTimes{{1, 2, 63.375, 250.5}, true};
  // The median is the 2nd of 4, p90 and p99 the 4th; the mean 316.875 / 4; the population's
  // deviation sqrt(41669.19921875 / 4). Four buckets 62.375 wide, 63.375 on a border counts
  // above it; on a terminal 50 wide the labels take 26 columns, which leaves 23 for the fullest
  // bar and 12 for half of it.
  EXPECT_EQ(FormatStatsLines(*report.exchangeTimes, 50),
            "Exchanges timed: 4 (exchange 4 failed)\n"
            "Min: 1.000 ms\n"
            "Median: 2.000 ms\n"
            "P90: 250.500 ms\n"
            "P99: 250.500 ms\n"
            "Max: 250.500 ms (exchange 4)\n"
            "Mean: 79.219 ms\n"
            "Std. dev.: 102.065 ms\n"
            "Histogram:\n"
            "    1.000 -  63.375 ms  2 #######################\n"
            "   63.375 - 125.750 ms  1 ############\n"
            "  125.750 - 188.125 ms  0\n"
            "  188.125 - 250.500 ms  1 ############\n");
  EXPECT_EQ(FormatJson(report),
            R"({"request":"<srt>a</srt>","response":"line 1\r\n\"2\"\t\\ \u0001 čć",)"
            R"("times":"12x","timesDone":3,"begin":"09:05:03.007","end":"09:05:03.264",)"
            R"("diff":"0.317 sec","average":"0.106 sec",)"
            R"("messageBoxes":["Error: Exception occurred - check the network","b"],)"
            R"("stats":{"exchanges":4,"failedExchange":4,"minMs":1.000,"medianMs":2.000,)"
            R"("p90Ms":250.500,"p99Ms":250.500,"maxMs":250.500,"meanMs":79.219,)"
            R"("stdDevMs":102.065,"exchangesMs":[1.000,2.000,63.375,250.500]}})"
            "\n");
}

TEST(ExchangeStats, ARunWithoutExchangesHasNoFiguresAndBucketsAreFewAndAtMostTen) {
  EXPECT_EQ(FormatStatsLines({}, 0), "Exchanges timed: 0 (the run made no exchange)\n");
  EXPECT_EQ(FormatStatsJson({}),
            R"({"exchanges":0,"failedExchange":null,"minMs":null,"medianMs":null,"p90Ms":null,)"
            R"("p99Ms":null,"maxMs":null,"meanMs":null,"stdDevMs":null,"exchangesMs":[]})");
  // Equal times fill one bucket, whose bar is 60 columns away from a terminal, 10 on a narrow one.
  EXPECT_TRUE(FormatStatsLines({{5, 5}, false}, 0)
                  .ends_with("\nHistogram:\n  5.000 - 5.000 ms  2 " + std::string(60, '#') + "\n"));
  EXPECT_TRUE(FormatStatsLines({{5, 5}, false}, 20).ends_with(" 2 " + std::string(10, '#') + "\n"));
  EXPECT_EQ(MakeHistogram({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}).size(), 10u);
  EXPECT_EQ(BarLength(1, 1000, 60), 1) << "a bucket that holds anything shows";
  EXPECT_EQ(Summarize({7, 5}).median, 5) << "of two exchanges the median is the faster";
}

TEST(ExchangeStats, EachExchangeRunsFromTheUpdateBeforeItToItsOwn) {
  const SteadyTime t0{};
  const std::vector<SteadyTime> four = {t0, t0 + 5ms, t0 + 12ms, t0 + 20ms};
  // The updates; the figures shown; Times dane; the times; the last exchange failed.
  using Case = std::tuple<std::vector<SteadyTime>, bool, int, std::vector<double>, bool>;
  const Case cases[] = {
      {four, true, 2, {5, 7}, false},        // both passed, then the figures
      {four, true, 1, {5, 7}, true},         // the second failed
      {four, false, 1, {5, 7, 8}, true},     // an exception left the third: no figures
      {{t0, t0 + 1ms}, true, 0, {}, false},  // the request shown, then the figures
      {{}, false, 0, {}, false}};            // left before the request was shown
  for (const auto& [updates, figuresShown, timesDone, ms, lastFailed] : cases) {
    const ExchangeTimes times = TimeExchanges(updates, figuresShown, timesDone);
    EXPECT_EQ(times.ms, ms) << updates.size() << figuresShown << timesDone;
    EXPECT_EQ(times.lastFailed, lastFailed) << updates.size() << figuresShown << timesDone;
  }
}

}  // namespace
