#include "support/scripted_clock.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

std::deque<SYSTEMTIME> g_readings;

}  // namespace

void tarvelo_test::QueueLocalTimes(const SYSTEMTIME* pReadings, int nCount) {
  g_readings.assign(pReadings, pReadings + nCount);
}

void GetLocalTime(LPSYSTEMTIME lpSystemTime) {
  *lpSystemTime = {};
  if (g_readings.empty()) {
    ADD_FAILURE() << "GetLocalTime was read with no reading queued";
    return;
  }
  *lpSystemTime = g_readings.front();
  g_readings.pop_front();
}
