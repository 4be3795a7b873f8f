#include "support/window_driver.h"

#include <regex>

#include "res/resource.h"
#include "support/http_text.h"

namespace tarvelo_test {

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
  WindowFields fields;
  fields.text = window.Text(IDC_TEXT);
  fields.times = window.Text(IDC_TIMES);
  fields.request = window.Text(IDC_REQUEST);
  fields.response = window.Text(IDC_RESPONSE);
  fields.timesDone = window.Text(IDC_TIMES_DONE);
  fields.begin = window.Text(IDC_BEGIN);
  fields.end = window.Text(IDC_END);
  fields.diff = window.Text(IDC_DIFF);
  fields.average = window.Text(IDC_AVERAGE);
  fields.open = window.IsOpen();
  return fields;
}

bool TypeOver(afx::headless::Dialog& window, int id, std::string_view utf8) {
  return window.EnterText(id, utf8);
}

bool ReplaceField(afx::headless::Dialog& window, int id, std::string_view utf8) {
  return TypeOver(window, id, utf8) && window.Text(id) == utf8;
}

bool PasteOver(afx::headless::Dialog& window, int id, std::string_view utf8) {
  return window.Focus(id) && window.SelectAll() && window.Paste(utf8);
}

bool IsClockText(const std::string& text) {
  static const std::regex clock(R"(([01]\d|2[0-3]):[0-5]\d:[0-5]\d\.\d{3})");
  return std::regex_match(text, clock);
}

std::optional<double> FigureSeconds(const std::string& text) {
  static const std::regex figure(R"(-?\d+\.\d{3} sec)");
  if (!std::regex_match(text, figure)) return std::nullopt;
  return std::stod(text);
}

}  // namespace tarvelo_test
