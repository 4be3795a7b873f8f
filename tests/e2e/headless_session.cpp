#include "e2e/headless_session.h"

#include "app/startup.h"
#include "res/resource.h"
#include "soap/service_location.h"
#include "support/counted_bstr_memory.h"

namespace e2e {

void TypeInto(afx::headless::Dialog& window, int id, std::string_view utf8) {
  ASSERT_TRUE(tarvelo_test::TypeOver(window, id, utf8)) << "typing into " << id;
}

void PasteInto(afx::headless::Dialog& window, int id, std::string_view utf8) {
  ASSERT_TRUE(tarvelo_test::PasteOver(window, id, utf8)) << "pasting into " << id;
}

WindowFields CallWebService(afx::headless::Dialog& window, std::string_view times) {
  TypeInto(window, IDC_TIMES, times);
  EXPECT_TRUE(window.Click(IDOK));
  EXPECT_TRUE(window.IsOpen()) << "a run must leave the window open";
  return ReadFields(window);
}

void ExpectWellFormedFigures(const WindowFields& fields) {
  EXPECT_TRUE(tarvelo_test::IsClockText(fields.begin)) << "begin: " << fields.begin;
  EXPECT_TRUE(tarvelo_test::IsClockText(fields.end)) << "end: " << fields.end;
  EXPECT_TRUE(tarvelo_test::FigureSeconds(fields.diff).has_value()) << "diff: " << fields.diff;
  EXPECT_TRUE(tarvelo_test::FigureSeconds(fields.average).has_value())
      << "average: " << fields.average;
  if (fields.timesDone == "0") {
    EXPECT_EQ(fields.average, "0.000 sec");
  }
}

HeadlessSessionTest::HeadlessSessionTest() = default;

HeadlessSessionTest::~HeadlessSessionTest() {
  SetServiceHost(nullptr);
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
