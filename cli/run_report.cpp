#include "cli/run_report.h"

#include <cstdio>
#include <cstdlib>

#include "afxresource.h"

namespace {

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace

std::string FormatLines(const RunReport& report, int terminalColumns) {
  return "Request: " + report.request + "\n" +                                         //
         "Response: " + report.response + "\n" +                                       //
         "Times dane: " + report.timesDone + "\n" + "Begin: " + report.begin + "\n" +  //
         "End: " + report.end + "\n" +                                                 //
         "Diff.: " + report.diff + "\n" +                                              //
         "Average: " + report.average + "\n" +
         (report.exchangeTimes ? FormatStatsLines(*report.exchangeTimes, terminalColumns) : "");
}

std::string FormatJson(const RunReport& report) {
  std::string boxes = "[";
  for (std::size_t i = 0; i < report.messageBoxes.size(); ++i) {
    if (i > 0) boxes += ',';
    boxes += JsonString(report.messageBoxes[i]);
  }
  boxes += "]";
  return "{\"request\":" + JsonString(report.request) +
         ",\"response\":" + JsonString(report.response) +
         ",\"times\":" + JsonString(report.timesTyped) +
         ",\"timesDone\":" + std::to_string(std::atoi(report.timesDone.c_str())) +
         ",\"begin\":" + JsonString(report.begin) + ",\"end\":" + JsonString(report.end) +
         ",\"diff\":" + JsonString(report.diff) + ",\"average\":" + JsonString(report.average) +
         ",\"messageBoxes\":" + boxes +
         (report.exchangeTimes ? ",\"stats\":" + FormatStatsJson(*report.exchangeTimes) : "") +
         "}\n";
}

int RequestedExchanges(const std::string& timesTyped) {
  // The field takes 4 characters: no count overflows.
  return static_cast<int>(std::strtol(timesTyped.c_str(), nullptr, 10));
}

int ExitStatus(const RunReport& report) {
  if (!report.ran) return 1;
  const int requested = RequestedExchanges(report.timesTyped);
  const long done = std::strtol(report.timesDone.c_str(), nullptr, 10);
  return requested > 0 && done == requested ? 0 : 1;
}

std::string VersionLine() {
  const char* const product = AfxGetVersionString("ProductName");
  const char* const version = AfxGetVersionString("ProductVersion");
  return std::string("tarvelo-cli (") + (product ? product : "Tarvelo") + ") " +
         (version ? version : "") + "\n";
}
