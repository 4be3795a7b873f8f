// The run's clock arithmetic and its figures: the milliseconds between two local clock
// readings by the real calendar, and the texts the window shows for given readings. This
// program reads a clock of its own (tarvelo_seam_clock), so that the readings can be any.
#include <cstring>
#include <string>

#include "run_fixture.h"
#include "support/scripted_clock.h"

namespace {

SYSTEMTIME Reading(int year, int month, int day, int hour, int minute, int second, int ms) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDayOfWeek = 6;  // never consulted: deliberately wrong for most of the dates below
  time.wDay = static_cast<WORD>(day);
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  time.wSecond = static_cast<WORD>(second);
  time.wMilliseconds = static_cast<WORD>(ms);
  return time;
}

TEST_F(SoapTestDlgTest, ElapsedMillisecondsFollowsTheCalendar) {
  struct Case {
    const char* name;
    SYSTEMTIME begin;
    SYSTEMTIME end;
    double ms;
  };
  const Case cases[] = {
      {"same instant", Reading(2024, 5, 17, 9, 5, 3, 7), Reading(2024, 5, 17, 9, 5, 3, 7), 0},
      {"within a second", Reading(2024, 5, 17, 9, 5, 3, 7), Reading(2024, 5, 17, 9, 5, 3, 999),
       992},
      {"across a minute and an hour", Reading(2024, 5, 17, 9, 59, 59, 900),
       Reading(2024, 5, 17, 10, 0, 0, 100), 200},
      {"30 April into 1 May", Reading(2023, 4, 30, 23, 59, 59, 0), Reading(2023, 5, 1, 0, 0, 1, 0),
       2000},
      {"31 January into 1 February", Reading(2023, 1, 31, 23, 59, 0, 0),
       Reading(2023, 2, 1, 0, 0, 0, 0), 60000},
      {"28 February into 1 March, common year", Reading(2023, 2, 28, 23, 59, 59, 0),
       Reading(2023, 3, 1, 0, 0, 0, 0), 1000},
      {"28 February into 1 March, leap year", Reading(2024, 2, 28, 23, 59, 59, 0),
       Reading(2024, 3, 1, 0, 0, 0, 0), 86401000},
      {"29 February into 1 March", Reading(2024, 2, 29, 23, 59, 59, 0),
       Reading(2024, 3, 1, 0, 0, 0, 0), 1000},
      {"1900 is no leap year", Reading(1900, 2, 28, 12, 0, 0, 0), Reading(1900, 3, 1, 12, 0, 0, 0),
       86400000},
      {"2000 is a leap year", Reading(2000, 2, 28, 12, 0, 0, 0), Reading(2000, 3, 1, 12, 0, 0, 0),
       172800000},
      {"midnight of 31 December", Reading(2023, 12, 31, 23, 59, 59, 500),
       Reading(2024, 1, 1, 0, 0, 0, 250), 750},
      {"a whole common year", Reading(2023, 1, 1, 0, 0, 0, 0), Reading(2024, 1, 1, 0, 0, 0, 0),
       365 * 86400000.0},
      {"a whole leap year", Reading(2024, 1, 1, 0, 0, 0, 0), Reading(2025, 1, 1, 0, 0, 0, 0),
       366 * 86400000.0},
      {"clock set back by a second and a half", Reading(2024, 5, 17, 10, 0, 1, 500),
       Reading(2024, 5, 17, 10, 0, 0, 0), -1500},
      {"clock set back across midnight", Reading(2024, 3, 1, 0, 0, 0, 0),
       Reading(2024, 2, 29, 23, 0, 0, 0), -3600000},
      {"clock set back across a year", Reading(2024, 1, 1, 0, 0, 0, 0),
       Reading(2023, 12, 31, 23, 59, 59, 0), -1000},
  };
  CSoapTestDlg dialog;
  for (const Case& c : cases) {
    const SYSTEMTIME begin = c.begin;
    const SYSTEMTIME end = c.end;
    EXPECT_EQ(dialog.ElapsedMilliseconds(c.begin, c.end), c.ms) << c.name;
    EXPECT_EQ(std::memcmp(&begin, &c.begin, sizeof begin), 0) << c.name << ": begin changed";
    EXPECT_EQ(std::memcmp(&end, &c.end, sizeof end), 0) << c.name << ": end changed";
  }
}

// The window after a run whose two clock readings are fixed.
TEST_F(RunTest, TheFiguresShowTheTwoClockReadings) {
  struct Case {
    const char* name;
    const char* times;
    SYSTEMTIME begin;
    SYSTEMTIME end;
    const char* done;
    const char* beginText;
    const char* endText;
    const char* diff;
    const char* average;
  };
  const Case cases[] = {
      {"1,234 ms over 2 exchanges", "2", Reading(2024, 5, 17, 9, 5, 3, 7),
       Reading(2024, 5, 17, 9, 5, 4, 241), "2", "09:05:03.007", "09:05:04.241", "1.234 sec",
       "0.617 sec"},
      {"2,500 ms over 3 exchanges", "3", Reading(2024, 5, 17, 14, 0, 0, 0),
       Reading(2024, 5, 17, 14, 0, 2, 500), "3", "14:00:00.000", "14:00:02.500", "2.500 sec",
       "0.833 sec"},
      {"no exchange at the same instant", "0", Reading(2024, 5, 17, 8, 0, 0, 0),
       Reading(2024, 5, 17, 8, 0, 0, 0), "0", "08:00:00.000", "08:00:00.000", "0.000 sec",
       "0.000 sec"},
      {"no exchange across 30 April", "abc", Reading(2023, 4, 30, 23, 59, 59, 0),
       Reading(2023, 5, 1, 0, 0, 1, 0), "0", "23:59:59.000", "00:00:01.000", "2.000 sec",
       "0.000 sec"},
      {"no exchange across the year's end", "-3", Reading(2023, 12, 31, 23, 59, 59, 500),
       Reading(2024, 1, 1, 0, 0, 0, 250), "0", "23:59:59.500", "00:00:00.250", "0.750 sec",
       "0.000 sec"},
      {"one exchange over a day", "1", Reading(2024, 3, 1, 0, 0, 0, 0),
       Reading(2024, 3, 2, 0, 0, 0, 1), "1", "00:00:00.000", "00:00:00.001", "86400.001 sec",
       "86400.001 sec"},
      {"one exchange with the clock set back", "1", Reading(2024, 5, 17, 10, 0, 1, 500),
       Reading(2024, 5, 17, 10, 0, 0, 0), "1", "10:00:01.500", "10:00:00.000", "-1.500 sec",
       "-1.500 sec"},
      {"four exchanges in 7 ms: the average rounds", "4", Reading(2024, 5, 17, 10, 0, 0, 0),
       Reading(2024, 5, 17, 10, 0, 0, 7), "4", "10:00:00.000", "10:00:00.007", "0.007 sec",
       "0.002 sec"},
  };
  PointAt(Service().port());
  for (const Case& c : cases) {
    CSoapTestDlg dialog;
    run_test::WindowFields fields;
    Run(dialog, [&](Dialog& window) {
      EXPECT_TRUE(run_test::ReplaceField(window, IDC_TIMES, c.times));
      const SYSTEMTIME readings[] = {c.begin, c.end};
      tarvelo_test::QueueLocalTimes(readings, 2);
      window.Click(IDOK);
      fields = run_test::ReadFields(window);
    });
    EXPECT_EQ(fields.timesDone, c.done) << c.name;
    EXPECT_EQ(fields.begin, c.beginText) << c.name;
    EXPECT_EQ(fields.end, c.endText) << c.name;
    EXPECT_EQ(fields.diff, c.diff) << c.name;
    EXPECT_EQ(fields.average, c.average) << c.name;
  }
  EXPECT_TRUE(backend.MessageBoxes().empty());
}

}  // namespace
