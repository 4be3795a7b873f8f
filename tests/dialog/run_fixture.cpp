#include "run_fixture.h"

#include <regex>

#include "app/program_module.h"
#include "interop/interop_testing.h"
#include "msxml.h"
#include "oleaut_testing.h"
#include "soap/service_location.h"
#include "support/http_text.h"
#include "xmlhttp_testing.h"

namespace run_test {

std::string SoapReplyBody(const std::string& value) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
         "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>"
         "<simpleMethodResponse xmlns=\"http://tempuri.org/\"><simpleMethodResult>" +
         value + "</simpleMethodResult></simpleMethodResponse></soap:Body></soap:Envelope>";
}

tarvelo_test::ScriptStep ReplyStep(const std::string& status, const std::string& body) {
  return tarvelo_test::ScriptStep::ReplyAndClose(tarvelo_test::HttpReply(
      status, {"Content-Type: application/soap+xml; charset=utf-8", "Connection: close"}, body));
}

tarvelo_test::ScriptStep PassingReply(const std::string& value) {
  return ReplyStep("200 OK", SoapReplyBody(value));
}

WindowFields ReadFields(afx::headless::Dialog& window) {
  WindowFields fields;
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

bool ReplaceField(afx::headless::Dialog& window, int id, const std::string& text) {
  return window.Focus(id) && window.SelectAll() && window.Paste("") && window.Type(text) &&
         window.Text(id) == text;
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

}  // namespace run_test

std::unique_ptr<tarvelo_test::ServiceProcess> RunTest::s_service;

void RunTest::SetUpTestSuite() {
  InitProgramModule();
  ASSERT_TRUE(XmlHttpStartup());
}

void RunTest::TearDownTestSuite() {
  s_service.reset();
}

RunTest::RunTest() {
  // A refused or broken exchange must fail quickly, never hang a test.
  XmlHttpSetTimeoutsForTesting(5000, 10000);
}

RunTest::~RunTest() {
  SetServiceHost(nullptr);
  QueueLocalTimesForTesting(nullptr, 0);
  FailNextBstrAllocations(0);
  FailNextInteropAllocations(InteropAllocation::kStringBody, 0);
  FailNextInteropAllocations(InteropAllocation::kTextBuffer, 0);
  XmlHttpSetTimeoutsForTesting(0, 0);
}

tarvelo_test::ServiceProcess& RunTest::Service() {
  if (!s_service) s_service = std::make_unique<tarvelo_test::ServiceProcess>();
  EXPECT_TRUE(s_service->running()) << "tarvelo-service: " << s_service->error();
  return *s_service;
}

void RunTest::PointAt(int port) {
  SetServiceHost(("127.0.0.1:" + std::to_string(port)).c_str());
}

run_test::WindowFields RunTest::PressCall(CSoapTestDlg& dialog, std::optional<std::string> times,
                                          std::optional<std::string> text) {
  run_test::WindowFields fields;
  Run(dialog, [&](Dialog& window) {
    if (text) {
      EXPECT_TRUE(run_test::ReplaceField(window, IDC_TEXT, *text));
    }
    if (times) {
      EXPECT_TRUE(run_test::ReplaceField(window, IDC_TIMES, *times)) << "count " << *times;
    }
    EXPECT_TRUE(window.Click(IDOK));
    fields = run_test::ReadFields(window);
  });
  return fields;
}
