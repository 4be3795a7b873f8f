// What the window showed after a run, and how tarvelo-cli prints it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/exchange_stats.h"

struct RunReport {
  bool ran = false;        // the dialog opened and the run was started
  std::string error;       // the fields could not be filled in
  std::string timesTyped;  // the count field as the run read it
  std::string request;     // the window's fields, UTF-8
  std::string response;
  std::string timesDone;
  std::string begin;
  std::string end;
  std::string diff;
  std::string average;
  std::vector<std::string> messageBoxes;       // "caption: text", in order
  std::optional<ExchangeTimes> exchangeTimes;  // --stats
};

// One field a line, with the window's own labels; then, with exchange times, their figures
// (terminalColumns: the width of the terminal that shows them, 0 for none).
std::string FormatLines(const RunReport& report, int terminalColumns = 0);
// One JSON object; with exchange times, their figures as its member "stats".
std::string FormatJson(const RunReport& report);
// The count of exchanges that a count text asks for, read as the run reads it: leading
// blanks, a sign and digits; anything else is 0.
int RequestedExchanges(const std::string& timesTyped);
// 0 when every requested exchange passed, 1 when the run stopped early or made none.
int ExitStatus(const RunReport& report);
// "tarvelo-cli" with the product name and version of the version block.
std::string VersionLine();
