// What the window showed after a run, and how tarvelo-cli prints it.
#pragma once

#include <string>
#include <vector>

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
  std::vector<std::string> messageBoxes;  // "caption: text", in order
};

// One field a line, with the window's own labels.
std::string FormatLines(const RunReport& report);
// One JSON object.
std::string FormatJson(const RunReport& report);
// 0 when every requested exchange passed, 1 when the run stopped early or made none.
int ExitStatus(const RunReport& report);
// "tarvelo-cli" with the product name and version of the version block.
std::string VersionLine();
