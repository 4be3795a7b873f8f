// The command line of tarvelo-cli.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CliOptions {
  std::optional<std::string> text;   // typed into the text field (UTF-8)
  std::optional<std::string> times;  // typed into the count field
  std::optional<std::string> serviceHost;
  bool json = false;
  bool stats = false;       // each exchange's time: the figures and a histogram
  bool noProgress = false;  // no progress line on a terminal
  bool help = false;
  bool version = false;
};

struct CliParseResult {
  CliOptions options;
  std::string error;  // empty when the command line is good
};

// Reads the arguments after the program name. The text and count fields take at most
// kTextLimit and kTimesLimit characters: a longer value is an error, not silently cut.
CliParseResult ParseCliOptions(const std::vector<std::string>& args);

inline constexpr int kTextLimit = 128;
inline constexpr int kTimesLimit = 4;

const char* CliUsage();
