// The local clock, read through the C library's time zone rules.
#include <ctime>
#include <deque>
#include <mutex>

#include "win32_testing.h"
#include "windows.h"

namespace {

// Readings that tests queue in place of the clock; empty in the program.
struct QueuedReadings {
  std::mutex mutex;
  std::deque<SYSTEMTIME> readings;
};

QueuedReadings& Queued() {
  static QueuedReadings queued;
  return queued;
}

bool TakeQueuedReading(LPSYSTEMTIME lpSystemTime) {
  QueuedReadings& queued = Queued();
  const std::lock_guard lock(queued.mutex);
  if (queued.readings.empty()) return false;
  *lpSystemTime = queued.readings.front();
  queued.readings.pop_front();
  return true;
}

}  // namespace

void GetLocalTime(LPSYSTEMTIME lpSystemTime) {
  if (TakeQueuedReading(lpSystemTime)) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  lpSystemTime->wYear = static_cast<WORD>(local.tm_year + 1900);
  lpSystemTime->wMonth = static_cast<WORD>(local.tm_mon + 1);
  lpSystemTime->wDayOfWeek = static_cast<WORD>(local.tm_wday);  // 0 is Sunday on both sides
  lpSystemTime->wDay = static_cast<WORD>(local.tm_mday);
  lpSystemTime->wHour = static_cast<WORD>(local.tm_hour);
  lpSystemTime->wMinute = static_cast<WORD>(local.tm_min);
  // A leap second reads as the last second of its minute, as Windows never shows 60.
  lpSystemTime->wSecond = static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec);
  lpSystemTime->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

void QueueLocalTimesForTesting(const SYSTEMTIME* pReadings, int nCount) {
  QueuedReadings& queued = Queued();
  const std::lock_guard lock(queued.mutex);
  queued.readings.clear();
  for (int i = 0; i < nCount; ++i) queued.readings.push_back(pReadings[i]);
}
