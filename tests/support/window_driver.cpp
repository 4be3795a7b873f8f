#include "support/window_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "res/resource.h"
#include "support/http_text.h"

namespace tarvelo_test {
namespace {

// The milliseconds of the day of an "hh:mm:ss.mmm" text, or -1 for another text.
long ClockMilliseconds(const std::string& text) {
  static const std::regex clock(R"(([01]\d|2[0-3]):([0-5]\d):([0-5]\d)\.(\d{3}))");
  std::smatch parts;
  if (!std::regex_match(text, parts, clock)) return -1;
  return std::stol(parts[1]) * 3600000 + std::stol(parts[2]) * 60000 + std::stol(parts[3]) * 1000 +
         std::stol(parts[4]);
}

// The seconds of an "N.NNN sec" text, or NaN for another text.
double FigureSeconds(const std::string& text) {
  static const std::regex figure(R"(-?\d+\.\d{3} sec)");
  return std::regex_match(text, figure) ? std::stod(text) : std::nan("");
}

}  // namespace

std::string SoapReplyEnvelope(std::string_view value) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
         "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>"
         "<simpleMethodResponse xmlns=\"http://tempuri.org/\"><simpleMethodResult>" +
         std::string(value) +
         "</simpleMethodResult></simpleMethodResponse></soap:Body></soap:Envelope>";
}

ScriptStep ReplyStep(const std::string& status, const std::string& body) {
  return ScriptStep::ReplyAndClose(HttpReply(
      status, {"Content-Type: application/soap+xml; charset=utf-8", "Connection: close"}, body));
}

ScriptStep PassingReply(const std::string& value) {
  return ReplyStep("200 OK", SoapReplyEnvelope(value));
}

WindowFields ReadFields(const afx::headless::Dialog& window) {
  return {window.Text(IDC_REQUEST), window.Text(IDC_RESPONSE), window.Text(IDC_TIMES_DONE),
          window.Text(IDC_BEGIN),   window.Text(IDC_END),      window.Text(IDC_DIFF),
          window.Text(IDC_AVERAGE)};
}

void ExpectFigures(const WindowFields& fields, int done) {
  const long begin = ClockMilliseconds(fields.begin);
  const long end = ClockMilliseconds(fields.end);
  const double diff = FigureSeconds(fields.diff);
  const double average = FigureSeconds(fields.average);
  ASSERT_TRUE(begin >= 0 && end >= 0) << fields.begin << " .. " << fields.end;
  ASSERT_FALSE(std::isnan(diff) || std::isnan(average)) << fields.diff << ", " << fields.average;
  const long ms = (end - begin + 86400000) % 86400000;  // a run may pass midnight
  EXPECT_EQ(std::lround(diff * 1000), ms) << fields.begin << " .. " << fields.end;
  if (done == 0) {
    EXPECT_EQ(fields.average, "0.000 sec");
  } else {
    EXPECT_NEAR(average, ms / (done * 1000.0), 0.0006) << fields.average;
  }
}

}  // namespace tarvelo_test
