// The kernel services the program relies on: the local clock, string length, the last error,
// atomic counters, the local heap, startup information and the module handle.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "windows.h"

namespace {

// Sets the process's time zone for one scope.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    const char* previous = std::getenv("TZ");
    m_hadPrevious = previous != nullptr;
    if (m_hadPrevious) m_previous = previous;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (m_hadPrevious)
      setenv("TZ", m_previous.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  bool m_hadPrevious = false;
  std::string m_previous;
};

std::tm LocalTm(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

bool Matches(const SYSTEMTIME& st, const std::tm& tm) {
  return st.wYear == tm.tm_year + 1900 && st.wMonth == tm.tm_mon + 1 && st.wDay == tm.tm_mday &&
         st.wDayOfWeek == tm.tm_wday && st.wHour == tm.tm_hour && st.wMinute == tm.tm_min &&
         st.wSecond == tm.tm_sec;
}

class LocalTimeInZone : public ::testing::TestWithParam<const char*> {};

// The reading is the local wall clock of the process's zone, not UTC: zones far apart give
// readings that differ by their offset, each one agreeing with the C library's local time.
TEST_P(LocalTimeInZone, AgreesWithTheLocalClockOfTheZone) {
  const ScopedTimeZone zone(GetParam());
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::time_t before = std::time(nullptr);
    SYSTEMTIME st{};
    GetLocalTime(&st);
    const std::time_t after = std::time(nullptr);
    if (before != after) continue;  // the second turned over in between: read again
    EXPECT_TRUE(Matches(st, LocalTm(before)))
        << st.wYear << "-" << st.wMonth << "-" << st.wDay << " " << st.wHour << ":" << st.wMinute
        << ":" << st.wSecond;
    EXPECT_LT(st.wMilliseconds, 1000);
    return;
  }
  FAIL() << "the clock turned over on every attempt";
}

INSTANTIATE_TEST_SUITE_P(Zones, LocalTimeInZone, ::testing::Values("UTC0", "XXX-14", "YYY+11"));

TEST(GetLocalTime, CarriesMilliseconds) {
  std::set<WORD> seen;
  for (int i = 0; i < 50 && seen.size() < 3; ++i) {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    seen.insert(st.wMilliseconds);
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
  }
  EXPECT_GE(seen.size(), 3u) << "readings 3 ms apart should show different milliseconds";
}

TEST(LstrlenA, CountsBytesUpToTheNulAndTakesNull) {
  EXPECT_EQ(0, lstrlenA(nullptr));
  EXPECT_EQ(0, lstrlenA(""));
  EXPECT_EQ(3, lstrlenA("abc"));
  EXPECT_EQ(2, lstrlenA("\xE8\x9A"));
  EXPECT_EQ(1, lstrlenA("a\0b"));
}

TEST(LastError, BelongsToEachThread) {
  SetLastError(ERROR_INVALID_PARAMETER);
  DWORD seenByOther = 12345;
  std::thread other([&] {
    seenByOther = GetLastError();
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
  });
  other.join();
  EXPECT_EQ(0u, seenByOther);
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  SetLastError(0);
  EXPECT_EQ(0u, GetLastError());
}

TEST(Interlocked, ReturnsTheNewValue) {
  volatile LONG value = 0;
  EXPECT_EQ(1, InterlockedIncrement(&value));
  EXPECT_EQ(2, InterlockedIncrement(&value));
  EXPECT_EQ(1, InterlockedDecrement(&value));
  EXPECT_EQ(0, InterlockedDecrement(&value));
  EXPECT_EQ(-1, InterlockedDecrement(&value));
  EXPECT_EQ(-1, value);
}

TEST(Interlocked, LosesNoUpdateUnderContention) {
  volatile LONG value = 0;
  constexpr int kThreads = 4;
  constexpr int kRounds = 100000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&value, t] {
      for (int i = 0; i < kRounds; ++i) {
        InterlockedIncrement(&value);
        if (t % 2 == 0) InterlockedDecrement(&value);
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(kThreads / 2 * kRounds, value);
}

TEST(LocalHeap, ZeroInitialisedBlocksAndFree) {
  auto* block = static_cast<unsigned char*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, 64));
  ASSERT_NE(nullptr, block);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(0, block[i]) << i;
  std::memset(block, 0xAB, 64);  // the whole block is writable
  EXPECT_EQ(nullptr, LocalFree(block));
  EXPECT_EQ(nullptr, LocalFree(nullptr));

  void* empty = LocalAlloc(LMEM_FIXED, 0);
  EXPECT_NE(nullptr, empty);
  LocalFree(empty);
}

TEST(LocalHeap, MovableBlocksAreRefused) {
  constexpr UINT kMovable = 0x0002;
  SetLastError(0);
  EXPECT_EQ(nullptr, LocalAlloc(kMovable, 16));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(GetStartupInfo, GivesOnlyTheSizeAndNoShowState) {
  STARTUPINFOA info;
  std::memset(&info, 0xCD, sizeof(info));
  GetStartupInfo(&info);
  EXPECT_EQ(sizeof(info), info.cb);
  EXPECT_EQ(0u, info.dwFlags & STARTF_USESHOWWINDOW);
  STARTUPINFOA expected;
  std::memset(&expected, 0, sizeof(expected));
  expected.cb = sizeof(expected);
  EXPECT_EQ(0, std::memcmp(&expected, &info, sizeof(info)));
}

TEST(GetModuleHandle, NullGivesTheExecutablesImage) {
  const HMODULE module = GetModuleHandle(nullptr);
  ASSERT_NE(nullptr, module);
  EXPECT_EQ(module, GetModuleHandleA(nullptr));
  // The base address at which the loader put the executable that holds this function.
  Dl_info info{};
  ASSERT_NE(0, dladdr(reinterpret_cast<void*>(&LocalTm), &info));
  EXPECT_EQ(info.dli_fbase, static_cast<void*>(module));
}

TEST(GetModuleHandle, OtherModulesAreNotFound) {
  SetLastError(0);
  EXPECT_EQ(nullptr, GetModuleHandleA("ole32.dll"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

}  // namespace
