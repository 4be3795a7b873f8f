// The arithmetic of --stats: exchange times from the window's updates, nearest-rank
// percentiles, the histogram, and what a run without an exchange or with a failed one says.
#include "cli/exchange_stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "cli/run_report.h"
#include "flat_json.h"

namespace {

using std::chrono::milliseconds;

TEST(ExchangeStats, EachExchangeRunsFromTheUpdateBeforeItToItsOwn) {
  const SteadyTime t0{};
  const std::vector<SteadyTime> updates = {t0, t0 + milliseconds(5), t0 + milliseconds(12),
                                           t0 + milliseconds(20)};
  struct Case {
    const char* what;
    std::vector<SteadyTime> updates;
    bool figuresShown;
    int timesDone;
    std::vector<double> ms;
    bool lastFailed;
  };
  const Case cases[] = {
      {"both passed", updates, true, 2, {5, 7}, false},
      {"the second failed", updates, true, 1, {5, 7}, true},
      {"an exception left the third", updates, false, 0, {5, 7, 8}, true},
      {"no exchange: the request and the figures", {t0, t0 + milliseconds(1)}, true, 0, {}, false},
      {"left before the request was shown", {}, false, 0, {}, false},
  };
  for (const Case& c : cases) {
    const ExchangeTimes times = TimeExchanges(c.updates, c.figuresShown, c.timesDone);
    EXPECT_EQ(times.ms, c.ms) << c.what;
    EXPECT_EQ(times.lastFailed, c.lastFailed) << c.what;
  }
}

TEST(ExchangeStats, PercentilesAreNearestRank) {
  struct Case {
    int count;
    int percent;
    double rank;  // from 1; the values are 1, 2, ... count
  };
  const Case cases[] = {
      {1, 50, 1},    {1, 99, 1},                   // one exchange is every percentile
      {2, 50, 1},    {2, 90, 2},                   // of two, the median is the faster
      {3, 50, 2},    {10, 90, 9},   {10, 99, 10},  // ceil(9.9)
      {100, 50, 50}, {100, 99, 99}, {101, 99, 100},
  };
  for (const Case& c : cases) {
    std::vector<double> sorted(static_cast<std::size_t>(c.count));
    std::iota(sorted.begin(), sorted.end(), 1.0);
    EXPECT_EQ(NearestRankPercentile(sorted, c.percent), c.rank)
        << "p" << c.percent << " of " << c.count;
  }
}

TEST(ExchangeStats, SummaryOfUnsortedTimes) {
  const ExchangeStats stats = Summarize({4, 9, 2, 4, 5, 9, 4, 5});
  EXPECT_EQ(stats.count, 8);
  EXPECT_EQ(stats.min, 2);
  EXPECT_EQ(stats.median, 4);  // the 4th of 2 4 4 4 5 5 9 9
  EXPECT_EQ(stats.p90, 9);
  EXPECT_EQ(stats.max, 9);
  EXPECT_EQ(stats.slowest, 2);  // the first of the two slowest
  EXPECT_DOUBLE_EQ(stats.mean, 5.25);
  EXPECT_DOUBLE_EQ(stats.stdDev, std::sqrt(43.5 / 8));  // the population's, not a sample's

  const ExchangeStats one = Summarize({3.5});
  EXPECT_EQ(one.p99, 3.5);
  EXPECT_EQ(one.stdDev, 0);
}

TEST(ExchangeStats, HistogramBucketsSpanTheTimesAndBarsScaleToTheFullest) {
  // 0 .. 10: ten buckets one wide; 1 lies on a border and counts above it, 10 in the last.
  std::vector<double> ms(11);
  std::iota(ms.begin(), ms.end(), 0.0);
  ms.push_back(1);
  const std::vector<HistogramBucket> buckets = MakeHistogram(ms);
  ASSERT_EQ(buckets.size(), 10u);
  EXPECT_EQ(buckets.front().fromMs, 0);
  EXPECT_EQ(buckets.back().toMs, 10);
  EXPECT_EQ(buckets[0].count, 1);
  EXPECT_EQ(buckets[1].count, 2);
  EXPECT_EQ(buckets[9].count, 2);

  EXPECT_EQ(MakeHistogram({7, 7, 7}).size(), 1u);  // all equal: one bucket with all
  EXPECT_EQ(MakeHistogram({7, 7, 7})[0].count, 3);
  EXPECT_EQ(MakeHistogram({1, 2}).size(), 2u);  // no more buckets than times

  EXPECT_EQ(BarLength(40, 40, 60), 60);
  EXPECT_EQ(BarLength(2, 3, 10), 7);
  EXPECT_EQ(BarLength(1, 1000, 60), 1);  // a bucket with anything shows
  EXPECT_EQ(BarLength(0, 1000, 60), 0);
}

TEST(ExchangeStats, TheFiguresSayWhenNoExchangeWasMadeOrTheLastFailed) {
  RunReport report;
  report.exchangeTimes = ExchangeTimes{};
  EXPECT_TRUE(FormatLines(report).ends_with(
      "\nAverage: \nExchanges timed: 0 (the run made no exchange)\n"));
  std::string error;
  const auto json = cli_test::ReadFlatJson(FormatJson(report), &error);
  ASSERT_TRUE(json) << error;
  const cli_test::FlatJsonObject& stats = *json->at("stats").object;
  EXPECT_EQ(stats.at("exchanges").integer, 0);
  EXPECT_EQ(stats.at("medianMs").kind, cli_test::FlatJsonValue::Kind::kNull);

  // On a terminal 50 wide every histogram line fits; the failed exchange is named.
  const std::string lines = FormatStatsLines({{1, 2, 3, 250.5}, true}, 50);
  EXPECT_EQ(lines.rfind("Exchanges timed: 4 (exchange 4 failed)\n", 0), 0u) << lines;
  EXPECT_NE(lines.find("\nMax: 250.500 ms (exchange 4)\n"), std::string::npos) << lines;
  std::size_t widest = 0;
  for (std::size_t at = 0, end; (end = lines.find('\n', at)) != std::string::npos; at = end + 1)
    widest = std::max(widest, end - at);
  EXPECT_EQ(widest, 49u) << lines;
}

}  // namespace
