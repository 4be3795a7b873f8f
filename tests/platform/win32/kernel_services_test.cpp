// The kernel services the program relies on: MultiByteToWideChar and WideCharToMultiByte in the
// two ANSI code pages and CP_ACP (sizes asked for and given, characters a code page lacks,
// refusals), and the local clock.
#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>

#include "tarvelo_config.h"
#include "windows.h"

namespace {

// Whole texts with their length given; an empty result stands for a failure. UTF-16 text is
// held as char16_t here, whatever the platform's WCHAR.
using WideText = std::basic_string<WCHAR>;

std::u16string ToWide(UINT codePage, const std::string& bytes) {
  WideText wide(bytes.size(), 0);
  const int units = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                        wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(units));
  return std::u16string(wide.begin(), wide.end());
}

std::string ToBytes(UINT codePage, const std::u16string& text, BOOL* usedDefault = nullptr) {
  const WideText wide(text.begin(), text.end());
  std::string bytes(wide.size() * 4, '\0');
  const int count =
      WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, usedDefault);
  bytes.resize(static_cast<std::size_t>(count));
  return bytes;
}

// Every byte stands for a character of its own (one the chart leaves undefined for the control
// character of its value) and comes back as itself.
TEST(AnsiCodePages, EveryByteGoesToADistinctCharacterAndBack) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  for (const UINT codePage : {1250u, 1252u}) {
    SCOPED_TRACE(codePage);
    const std::u16string wide = ToWide(codePage, all);
    ASSERT_EQ(all.size(), std::set<char16_t>(wide.begin(), wide.end()).size());
    BOOL usedDefault = TRUE;
    EXPECT_EQ(all, ToBytes(codePage, wide, &usedDefault));
    EXPECT_FALSE(usedDefault);
  }
  EXPECT_EQ(u"\u0160\u010D\u20AC\u0081", ToWide(1250, "\x8A\xE8\x80\x81"));
  EXPECT_EQ(u"\u0160\u00E8\u20AC\u0081", ToWide(1252, "\x8A\xE8\x80\x81"));
  EXPECT_EQ(ToWide(TARVELO_ANSI_CODE_PAGE, all), ToWide(CP_ACP, all));
  EXPECT_EQ(static_cast<UINT>(TARVELO_ANSI_CODE_PAGE), GetACP());
}

TEST(AnsiCodePages, ACharacterTheCodePageLacksBecomesTheDefaultCharacter) {
  BOOL usedDefault = FALSE;
  // Ж and a character beyond the basic plane (a '?' for each of its two units) are not in 1252,
  // nor is anything near them; š is.
  EXPECT_EQ("?\x9A??", ToBytes(1252, u"\u0416\u0161\U0001F600", &usedDefault));
  EXPECT_TRUE(usedDefault);
}

// The program converts whole texts with their terminator (-1), or asks for the size first.
TEST(Conversions, MinusOneCountsTheTerminatorAndNoBufferAsksForTheSize) {
  WCHAR wide[4];
  EXPECT_EQ(4, MultiByteToWideChar(1250, 0, "abc", -1, nullptr, 0));
  EXPECT_EQ(4, MultiByteToWideChar(1250, 0, "abc", -1, wide, 4));
  EXPECT_EQ(u"abc", std::u16string(wide, wide + 3));
  char bytes[4];
  const WCHAR text[] = {'a', 'b', 0x010D, 0};
  EXPECT_EQ(4, WideCharToMultiByte(1250, 0, text, -1, bytes, 4, nullptr, nullptr));
  EXPECT_STREQ("ab\xE8", bytes);
}

// The reading is the local wall clock (the tests run in a time zone 14 hours east of UTC): read
// back as local time, it falls between two readings of the C library's clock.
TEST(GetLocalTime, ReadsTheLocalClock) {
  const std::time_t before = std::time(nullptr);
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const std::time_t after = std::time(nullptr);
  std::tm local{};
  local.tm_year = st.wYear - 1900;
  local.tm_mon = st.wMonth - 1;
  local.tm_mday = st.wDay;
  local.tm_hour = st.wHour;
  local.tm_min = st.wMinute;
  local.tm_sec = st.wSecond;
  local.tm_isdst = -1;
  const std::time_t read = std::mktime(&local);
  EXPECT_TRUE(before <= read && read <= after) << before << " " << read << " " << after;
  EXPECT_EQ(local.tm_wday, st.wDayOfWeek);
}

}  // namespace
