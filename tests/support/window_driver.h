// The program's one dialog driven and read as an operator does it, the SOAP replies that
// scripted servers give it, and the one check of the figures a run shows, whichever window
// (headless or Qt) showed them.
#pragma once

#include <string>
#include <string_view>

#include "headless/afx_headless.h"
#include "support/scripted_server.h"

namespace tarvelo_test {

// A SOAP 1.2 reply of simpleMethod, as the service writes it, whose result element holds value.
std::string SoapReplyEnvelope(std::string_view value);
// One reply of a scripted server: the status and the body, then the connection closes.
ScriptStep ReplyStep(const std::string& status, const std::string& body);
// "200 OK" with a result element holding value.
ScriptStep PassingReply(const std::string& value = "Hello there");

// What the window's fields show, UTF-8.
struct WindowFields {
  std::string request;
  std::string response;
  std::string timesDone;
  std::string begin;
  std::string end;
  std::string diff;
  std::string average;
};
WindowFields ReadFields(const afx::headless::Dialog& window);

// The figures after a run of `done` successful exchanges: both clock times as hh:mm:ss.mmm,
// Diff. the time from begin to end and Average that divided by done (0.000 sec without a
// successful exchange), each in seconds with three decimals.
void ExpectFigures(const WindowFields& fields, int done);

}  // namespace tarvelo_test
