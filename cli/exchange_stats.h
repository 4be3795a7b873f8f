// The time of each exchange of a run, as tarvelo-cli sees it from the window, and the figures
// that --stats makes of those times.
//
// During a run the dialog writes its members into its controls once after it has built the
// request (the request shown), once at the end of every exchange, passed or failed, and once
// with the figures at the end. An exchange's time runs from the update before it to its own:
// the first from the request shown. It covers what the run times for that exchange: the COM
// initialisation and uninitialisation around it, the exchange itself with its message box, if
// it showed one, and the window updates. The times add up to the window's Diff. within the
// resolution of its clock (1 ms): Diff. begins just after the request is shown and ends just
// after the last exchange.
#pragma once

#include <chrono>
#include <string>
#include <vector>

using SteadyTime = std::chrono::steady_clock::time_point;

struct ExchangeTimes {
  std::vector<double> ms;   // one per exchange made, in order, in milliseconds
  bool lastFailed = false;  // the last exchange failed, which ended the run
};

// The times of the exchanges of one run from the updates of the window that it made.
// figuresShown: the run got as far as showing its figures, so its last update is theirs;
// timesDone: the count of passed exchanges that the window shows at the end.
ExchangeTimes TimeExchanges(const std::vector<SteadyTime>& updates, bool figuresShown,
                            int timesDone);

// The nearest-rank percentile of sorted values, which must not be empty: the smallest value
// that at least percent % of the values do not exceed, sorted[ceil(percent / 100 * n) - 1].
// Every figure is a time that one exchange really took; the median is the 50th percentile.
double NearestRankPercentile(const std::vector<double>& sorted, int percent);

struct ExchangeStats {
  int count = 0;
  double min = 0, median = 0, p90 = 0, p99 = 0, max = 0;
  double mean = 0;
  double stdDev = 0;  // of the population: the run's exchanges are all there are
  int slowest = 0;    // the number of the (first) slowest exchange, from 1
};

// The figures of at least one time.
ExchangeStats Summarize(const std::vector<double>& ms);

struct HistogramBucket {
  double fromMs;
  double toMs;  // a time on the border between two buckets counts in the upper one
  int count;
};

// Buckets of equal width from the least to the greatest of at least one value: ten, or one a
// value when there are fewer, or one when all are equal. The greatest counts in the last.
std::vector<HistogramBucket> MakeHistogram(const std::vector<double>& ms);

// The length of a bucket's bar when the fullest bucket's is columns long: its share, rounded,
// and at least one column for a bucket that holds anything.
int BarLength(int count, int fullest, int columns);

// The lines that --stats adds after the window's fields. The bars take 60 columns at most or,
// on a terminal terminalColumns wide (0: no terminal), what its width leaves after the labels.
std::string FormatStatsLines(const ExchangeTimes& times, int terminalColumns);
// The value of the "stats" member of --json: the same figures, and the times themselves.
std::string FormatStatsJson(const ExchangeTimes& times);
