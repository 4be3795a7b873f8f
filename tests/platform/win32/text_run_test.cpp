// Whole texts convert exactly as their characters do one by one, ASCII or not, and a buffer
// too small gets the beginning of the result before the conversion fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows.h"

namespace {

const std::u16string kWideTexts[] = {
    u"plain ASCII, nothing else",
    u"\u010D\u0107\u017E\u0111\u0161",              // čćžđš: all in Windows-1250
    u"ab\u010Dcd\u0161ef",                          // runs of ASCII between them
    u"x\U0001F600y",                                // a surrogate pair: one default character
    u"\u4E2D and \u2192 are not in the code page",  // unmapped
    u"ends with \u010D",
    u"\u00E9",
};

std::string Narrow(std::u16string_view wide, BOOL* usedDefault = nullptr) {
  std::string out(wide.size() * 2 + 1, '\0');
  const int bytes =
      WideCharToMultiByte(1250, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                          static_cast<int>(out.size()), nullptr, usedDefault);
  out.resize(bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
  return out;
}

// The text cut into characters (a surrogate pair is one), each converted alone.
std::string NarrowCharByChar(std::u16string_view wide) {
  std::string out;
  for (std::size_t i = 0; i < wide.size();) {
    const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size();
    out += Narrow(wide.substr(i, pair ? 2 : 1));
    i += pair ? 2 : 1;
  }
  return out;
}

TEST(TextRuns, AWideTextConvertsAsItsCharactersDo) {
  for (const std::u16string& text : kWideTexts) {
    SCOPED_TRACE(testing::PrintToString(std::string(text.begin(), text.end())));
    const std::string whole = Narrow(text);
    EXPECT_EQ(whole, NarrowCharByChar(text));
    EXPECT_EQ(WideCharToMultiByte(1250, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                  nullptr, nullptr),
              static_cast<int>(whole.size()));
  }
}

TEST(TextRuns, ABufferTooSmallForAWideTextGetsItsBeginning) {
  for (const std::u16string& text : kWideTexts) {
    const std::string whole = Narrow(text);
    for (std::size_t room = 1; room < whole.size(); ++room) {
      SCOPED_TRACE(room);
      std::vector<char> buffer(room, '\x7F');
      SetLastError(0);
      EXPECT_EQ(WideCharToMultiByte(1250, 0, text.data(), static_cast<int>(text.size()),
                                    buffer.data(), static_cast<int>(room), nullptr, nullptr),
                0);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
      EXPECT_EQ(std::string(buffer.begin(), buffer.end()), whole.substr(0, room));
    }
  }
}

TEST(TextRuns, TheDefaultCharacterIsReportedWhereverItFalls) {
  BOOL used = TRUE;
  Narrow(u"only ASCII here", &used);
  EXPECT_FALSE(used);
  Narrow(u"\u010D and ASCII", &used);
  EXPECT_FALSE(used);
  Narrow(u"ASCII first, then \u4E2D", &used);
  EXPECT_TRUE(used);
  Narrow(u"\u4E2D, then ASCII", &used);
  EXPECT_TRUE(used);
}

TEST(TextRuns, ABytesTextConvertsAsItsBytesDoAndFillsASmallBufferFromTheStart) {
  const std::string texts[] = {"plain", "a\xE8\xE6z and more", "\x8A\x8E", "tail \x9E", ""};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    const int count = static_cast<int>(text.size());
    std::u16string whole(text.size(), u'\0');
    const int units =
        count == 0 ? 0 : MultiByteToWideChar(1250, 0, text.data(), count, whole.data(), count);
    ASSERT_EQ(units, count);
    std::u16string byByte;
    for (const char byte : text) {
      char16_t unit = 0;
      ASSERT_EQ(MultiByteToWideChar(1250, 0, &byte, 1, &unit, 1), 1);
      byByte += unit;
    }
    EXPECT_EQ(whole, byByte);
    for (int room = 1; room < count; ++room) {
      std::u16string buffer(static_cast<std::size_t>(room), u'#');
      SetLastError(0);
      EXPECT_EQ(MultiByteToWideChar(1250, 0, text.data(), count, buffer.data(), room), 0);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
      EXPECT_EQ(buffer, whole.substr(0, static_cast<std::size_t>(room)));
    }
  }
}

}  // namespace
