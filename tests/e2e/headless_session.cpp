#include "e2e/headless_session.h"

#include <regex>

#include "app/startup.h"
#include "oleaut_testing.h"
#include "res/resource.h"
#include "soap/service_location.h"
#include "xmlhttp_testing.h"

namespace e2e {

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
  return fields;
}

void TypeInto(afx::headless::Dialog& window, int id, std::string_view utf8) {
  ASSERT_TRUE(window.Focus(id));
  ASSERT_TRUE(window.SelectAll());
  ASSERT_TRUE(window.Paste(""));  // the selection goes, so that "" empties the field
  ASSERT_TRUE(window.Type(utf8));
}

void PasteInto(afx::headless::Dialog& window, int id, std::string_view utf8) {
  ASSERT_TRUE(window.Focus(id));
  ASSERT_TRUE(window.SelectAll());
  ASSERT_TRUE(window.Paste(utf8));
}

WindowFields CallWebService(afx::headless::Dialog& window, std::string_view times) {
  TypeInto(window, IDC_TIMES, times);
  EXPECT_TRUE(window.Click(IDOK));
  EXPECT_TRUE(window.IsOpen()) << "a run must leave the window open";
  return ReadFields(window);
}

void ExpectWellFormedFigures(const WindowFields& fields) {
  static const std::regex clock(R"(\d\d:[0-5]\d:[0-5]\d\.\d\d\d)");
  static const std::regex seconds(R"(-?\d+\.\d\d\d sec)");
  EXPECT_TRUE(std::regex_match(fields.begin, clock)) << "begin: " << fields.begin;
  EXPECT_TRUE(std::regex_match(fields.end, clock)) << "end: " << fields.end;
  EXPECT_TRUE(std::regex_match(fields.diff, seconds)) << "diff: " << fields.diff;
  EXPECT_TRUE(std::regex_match(fields.average, seconds)) << "average: " << fields.average;
  if (fields.timesDone == "0") {
    EXPECT_EQ(fields.average, "0.000 sec");
  }
}

HeadlessSessionTest::HeadlessSessionTest() = default;

HeadlessSessionTest::~HeadlessSessionTest() {
  SetServiceHost(nullptr);
  XmlHttpSetTimeoutsForTesting(0, 0);
}

void HeadlessSessionTest::UseServiceHost(const std::string& hostPort) {
  SetServiceHost(hostPort.c_str());
}

void HeadlessSessionTest::RunSession(const std::function<void(afx::headless::Dialog&)>& act) {
  const long stringsBefore = LiveBstrCount();
  const int dialogsBefore = backend.DialogsOpened();
  bool acted = false;
  backend.QueueScript([&](afx::headless::Dialog& window) {
    acted = true;
    act(window);
    if (window.IsOpen()) window.Click(IDCANCEL);
  });
  const char* const argv[] = {"tarvelo"};
  EXPECT_EQ(RunApplication(1, argv), 0);
  EXPECT_TRUE(acted) << "the window did not open";
  EXPECT_EQ(backend.DialogsOpened(), dialogsBefore + 1);
  EXPECT_EQ(backend.WaitCursor().depth, 0);
  EXPECT_EQ(backend.WaitCursor().begins, backend.WaitCursor().ends);
  EXPECT_EQ(LiveBstrCount(), stringsBefore) << "Automation strings were lost in the session";
}

}  // namespace e2e
