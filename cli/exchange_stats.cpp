#include "cli/exchange_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <numeric>

namespace {

constexpr int kHistogramBuckets = 10;
constexpr int kBarColumns = 60;
constexpr int kFewestBarColumns = 10;

std::string Ms(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", ms);
  return text;
}

std::string PaddedLeft(const std::string& text, std::size_t width) {
  return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string HistogramLines(const std::vector<double>& ms, int terminalColumns) {
  const std::vector<HistogramBucket> buckets = MakeHistogram(ms);
  std::size_t numberWidth = 0, countWidth = 0;
  int fullest = 0;
  for (const HistogramBucket& bucket : buckets) {
    numberWidth = std::max({numberWidth, Ms(bucket.fromMs).size(), Ms(bucket.toMs).size()});
    countWidth = std::max(countWidth, std::to_string(bucket.count).size());
    fullest = std::max(fullest, bucket.count);
  }
  // "  FROM - TO ms  COUNT ", then the bar
  const int labelWidth = static_cast<int>(2 + numberWidth + 3 + numberWidth + 5 + countWidth + 1);
  const int columns = terminalColumns > 0
                          ? std::max(kFewestBarColumns, terminalColumns - labelWidth - 1)
                          : kBarColumns;
  std::string lines = "Histogram:\n";
  for (const HistogramBucket& bucket : buckets) {
    lines += "  " + PaddedLeft(Ms(bucket.fromMs), numberWidth) + " - " +
             PaddedLeft(Ms(bucket.toMs), numberWidth) + " ms  " +
             PaddedLeft(std::to_string(bucket.count), countWidth) + " " +
             std::string(static_cast<std::size_t>(BarLength(bucket.count, fullest, columns)), '#');
    while (lines.back() == ' ') lines.pop_back();
    lines += '\n';
  }
  return lines;
}

}  // namespace

ExchangeTimes TimeExchanges(const std::vector<SteadyTime>& updates, bool figuresShown,
                            int timesDone) {
  ExchangeTimes times;
  const std::size_t exchangeUpdates =
      updates.empty() ? 0 : updates.size() - 1 - (figuresShown ? 1 : 0);
  for (std::size_t i = 1; i <= exchangeUpdates; ++i) {
    times.ms.push_back(
        std::chrono::duration<double, std::milli>(updates[i] - updates[i - 1]).count());
  }
  // Only the last exchange can have failed: the run stops at the first failure. A run that
  // ended before its figures were shown was left by an exception from its last exchange.
  times.lastFailed =
      !times.ms.empty() && (!figuresShown || times.ms.size() > static_cast<std::size_t>(timesDone));
  return times;
}

double NearestRankPercentile(const std::vector<double>& sorted, int percent) {
  const std::size_t rank = (static_cast<std::size_t>(percent) * sorted.size() + 99) / 100;
  return sorted[std::max<std::size_t>(rank, 1) - 1];
}

ExchangeStats Summarize(const std::vector<double>& ms) {
  std::vector<double> sorted = ms;
  std::sort(sorted.begin(), sorted.end());
  ExchangeStats stats;
  stats.count = static_cast<int>(ms.size());
  stats.min = sorted.front();
  stats.median = NearestRankPercentile(sorted, 50);
  stats.p90 = NearestRankPercentile(sorted, 90);
  stats.p99 = NearestRankPercentile(sorted, 99);
  stats.max = sorted.back();
  stats.mean = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(ms.size());
  double squares = 0;
  for (const double value : ms) squares += (value - stats.mean) * (value - stats.mean);
  stats.stdDev = std::sqrt(squares / static_cast<double>(ms.size()));
  stats.slowest = static_cast<int>(std::max_element(ms.begin(), ms.end()) - ms.begin()) + 1;
  return stats;
}

std::vector<HistogramBucket> MakeHistogram(const std::vector<double>& ms) {
  const auto [least, greatest] = std::minmax_element(ms.begin(), ms.end());
  const double from = *least, to = *greatest;
  const int count = to > from ? std::min(kHistogramBuckets, static_cast<int>(ms.size())) : 1;
  const double width = (to - from) / count;
  std::vector<HistogramBucket> buckets;
  for (int i = 0; i < count; ++i) {
    buckets.push_back({from + i * width, i + 1 == count ? to : from + (i + 1) * width, 0});
  }
  for (const double value : ms) {
    int index = width > 0 ? std::min(static_cast<int>((value - from) / width), count - 1) : 0;
    // The division may round across a border; the buckets' own borders decide.
    while (index + 1 < count && value >= buckets[static_cast<std::size_t>(index) + 1].fromMs)
      ++index;
    while (index > 0 && value < buckets[static_cast<std::size_t>(index)].fromMs) --index;
    ++buckets[static_cast<std::size_t>(index)].count;
  }
  return buckets;
}

int BarLength(int count, int fullest, int columns) {
  if (count <= 0 || fullest <= 0) return 0;
  const long long share = (static_cast<long long>(count) * columns + fullest / 2) / fullest;
  return std::max(1, static_cast<int>(share));
}

std::string FormatStatsLines(const ExchangeTimes& times, int terminalColumns) {
  const std::size_t count = times.ms.size();
  std::string lines = "Exchanges timed: " + std::to_string(count);
  if (count == 0) return lines + " (the run made no exchange)\n";
  if (times.lastFailed) lines += " (exchange " + std::to_string(count) + " failed)";
  const ExchangeStats stats = Summarize(times.ms);
  lines += "\nMin: " + Ms(stats.min) + " ms\n" +      //
           "Median: " + Ms(stats.median) + " ms\n" +  //
           "P90: " + Ms(stats.p90) + " ms\n" +        //
           "P99: " + Ms(stats.p99) + " ms\n" +        //
           "Max: " + Ms(stats.max) + " ms (exchange " + std::to_string(stats.slowest) + ")\n" +
           "Mean: " + Ms(stats.mean) + " ms\n" +  //
           "Std. dev.: " + Ms(stats.stdDev) + " ms\n";
  return lines + HistogramLines(times.ms, terminalColumns);
}

std::string FormatStatsJson(const ExchangeTimes& times) {
  const std::size_t count = times.ms.size();
  std::string json = "{\"exchanges\":" + std::to_string(count) +
                     ",\"failedExchange\":" + (times.lastFailed ? std::to_string(count) : "null");
  const char* const names[] = {"minMs", "medianMs", "p90Ms",   "p99Ms",
                               "maxMs", "meanMs",   "stdDevMs"};
  const auto member = [&json](const char* name, const std::string& value) {
    json.append(",\"").append(name).append("\":").append(value);
  };
  if (count == 0) {
    for (const char* name : names) member(name, "null");
  } else {
    const ExchangeStats stats = Summarize(times.ms);
    const double figures[] = {stats.min, stats.median, stats.p90,   stats.p99,
                              stats.max, stats.mean,   stats.stdDev};
    for (std::size_t i = 0; i < std::size(names); ++i) member(names[i], Ms(figures[i]));
  }
  json += ",\"exchangesMs\":[";
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) json += ',';
    json += Ms(times.ms[i]);
  }
  return json + "]}";
}
