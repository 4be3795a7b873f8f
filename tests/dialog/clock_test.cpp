// The clock arithmetic of a run's figures, and two runs in a row with clock readings of the
// test's choosing. This program reads a clock of its own (tarvelo_seam_clock).
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "support/counted_bstr_memory.h"
#include "support/scripted_clock.h"

namespace {

using tarvelo_test::PassingReply;
using tarvelo_test::ReplaceField;
using tarvelo_test::SoapReplyEnvelope;
using tarvelo_test::WindowFields;

SYSTEMTIME Reading(int year, int month, int day, int hour, int minute, int second, int ms) {
  return {static_cast<WORD>(year),   static_cast<WORD>(month), 6,
          static_cast<WORD>(day),    static_cast<WORD>(hour),  static_cast<WORD>(minute),
          static_cast<WORD>(second), static_cast<WORD>(ms)};  // the day of week is not read
}

TEST_F(SoapTestDlgTest, ElapsedMillisecondsFollowTheCalendar) {
  struct Case {
    const char* name;
    SYSTEMTIME begin, end;
    double ms;
  };
  const Case cases[] = {
      {"into the next hour", Reading(2024, 5, 17, 9, 59, 59, 900),
       Reading(2024, 5, 17, 10, 0, 0, 100), 200},
      {"30 April into 1 May", Reading(2023, 4, 30, 23, 59, 59, 0), Reading(2023, 5, 1, 0, 0, 1, 0),
       2000},
      {"into 1 March of a leap year", Reading(2024, 2, 28, 23, 59, 59, 0),
       Reading(2024, 3, 1, 0, 0, 0, 0), 86401000},
      {"1900 is no leap year", Reading(1900, 2, 28, 12, 0, 0, 0), Reading(1900, 3, 1, 12, 0, 0, 0),
       86400000},
      {"2000 is a leap year", Reading(2000, 2, 28, 12, 0, 0, 0), Reading(2000, 3, 1, 12, 0, 0, 0),
       172800000},
      {"into the next year", Reading(2023, 12, 31, 23, 59, 59, 500),
       Reading(2024, 1, 1, 0, 0, 0, 250), 750},
  };
  CSoapTestDlg dialog;
  for (const Case& c : cases) EXPECT_EQ(dialog.ElapsedMilliseconds(c.begin, c.end), c.ms) << c.name;
}

// What a run shows after it, but the request.
std::vector<std::string> Shown(const WindowFields& fields) {
  return {fields.response, fields.timesDone, fields.begin, fields.end, fields.diff, fields.average};
}

// Two runs in a row, with clock readings of the test's choosing: the first passes midnight of
// 30 April, the second starts five seconds later with another text, by Enter in a field.
TEST_F(SoapTestDlgTest, TheSecondRunReplacesTheFirstsFiguresAndLeavesNoMoreStrings) {
  tarvelo_test::ScriptedServer server(
      {PassingReply("Hello 1"), PassingReply("Hello 2"), PassingReply("Hello 3")});
  PointAt(server.port());
  const SYSTEMTIME readings[] = {Reading(2023, 4, 30, 23, 59, 58, 766),
                                 Reading(2023, 5, 1, 0, 0, 0, 0), Reading(2023, 5, 1, 0, 0, 5, 0),
                                 Reading(2023, 5, 1, 0, 0, 5, 250)};
  tarvelo_test::QueueLocalTimes(readings, 4);
  CSoapTestDlg dialog;
  WindowFields first, second;
  long beforeFirst = 0, afterFirst = 0, afterSecond = 0;
  Run(dialog, [&](Dialog& window) {
    beforeFirst = LiveBstrCount();
    EXPECT_TRUE(ReplaceField(window, IDC_TIMES, "2"));
    window.Click(IDOK);
    first = tarvelo_test::ReadFields(window);
    afterFirst = LiveBstrCount();
    EXPECT_TRUE(ReplaceField(window, IDC_TEXT, "again"));
    EXPECT_TRUE(ReplaceField(window, IDC_TIMES, "1"));
    window.Press(afx::headless::Key::Enter);
    second = tarvelo_test::ReadFields(window);
    afterSecond = LiveBstrCount();
  });
  tarvelo_test::QueueLocalTimes(nullptr, 0);
  EXPECT_EQ(Shown(first), Shown({"", SoapReplyEnvelope("Hello 2"), "2", "23:59:58.766",
                                 "00:00:00.000", "1.234 sec", "0.617 sec"}));
  EXPECT_NE(second.request.find("<srt>again</srt>"), std::string::npos) << second.request;
  EXPECT_EQ(Shown(second), Shown({"", SoapReplyEnvelope("Hello 3"), "1", "00:00:05.000",
                                  "00:00:05.250", "0.250 sec", "0.250 sec"}));
  // The first run leaves the method's holder; the second replaces it and adds nothing.
  EXPECT_EQ(afterFirst, beforeFirst + 1);
  EXPECT_EQ(afterSecond, afterFirst);
  const afx::headless::WaitCursorRecord& cursor = backend.WaitCursor();
  EXPECT_EQ(std::vector<int>({cursor.begins, cursor.restores, cursor.ends, cursor.depth}),
            std::vector<int>({2, 2, 2, 0}));
}

}  // namespace
