// CP_UTF8 conversions: well-formed text both ways, and what becomes of malformed input.
#include <gtest/gtest.h>

#include <string>

#include "windows.h"

namespace {

// Converts with the size asked first; an empty result stands for a failed conversion.
std::u16string Decode(const std::string& bytes, DWORD flags = 0) {
  const int needed =
      MultiByteToWideChar(CP_UTF8, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(needed), u'\0');
  if (needed > 0) {
    EXPECT_EQ(needed, MultiByteToWideChar(CP_UTF8, flags, bytes.data(),
                                          static_cast<int>(bytes.size()), wide.data(), needed));
  }
  return wide;
}

std::string Encode(const std::u16string& wide, DWORD flags = 0) {
  const int needed = WideCharToMultiByte(CP_UTF8, flags, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  if (needed > 0) {
    EXPECT_EQ(needed,
              WideCharToMultiByte(CP_UTF8, flags, wide.data(), static_cast<int>(wide.size()),
                                  bytes.data(), needed, nullptr, nullptr));
  }
  return bytes;
}

TEST(Utf8, WellFormedTextGoesBothWays) {
  const struct {
    std::string bytes;
    std::u16string wide;
  } cases[] = {
      {"plain", u"plain"},
      {"\xC4\x8D\xC4\x87\xC5\xBE", u"\u010D\u0107\u017E"},  // two-byte letters
      {"\xE2\x82\xAC 5", u"\u20AC 5"},                      // three bytes
      {"\xF0\x9F\x98\x80", u"\U0001F600"},                  // four bytes: a pair
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},                  // the last code point
      {"\xEF\xBB\xBF"
       "a",
       u"\uFEFFa"},                                          // a BOM is a character
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},  // an embedded NUL
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(c.wide, Decode(c.bytes));
    EXPECT_EQ(c.bytes, Encode(c.wide));
  }
}

TEST(Utf8, MalformedBytesBecomeOneReplacementPerMaximalSubpart) {
  const struct {
    std::string bytes;
    std::u16string wide;
  } cases[] = {
      {"a\xC3", u"a\uFFFD"},  // cut off at the end
      {"\xE2\x82"
       "A",
       u"\uFFFDA"},                                       // cut off before an ASCII byte
      {"\xF0\x9F\x98", u"\uFFFD"},                        // three of four bytes
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong: no valid lead
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},            // overlong three-byte form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\x80", u"\uFFFD"},                                // a lone continuation byte
      {"\xFF"
       "b",
       u"\uFFFDb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(c.wide, Decode(c.bytes));
  }
}

TEST(Utf8, ErrInvalidCharsTurnsMalformedInputIntoAFailure) {
  char16_t wide[8];
  SetLastError(0);
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC3", 2, wide, 8));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
  EXPECT_EQ(u"ok", Decode("ok", MB_ERR_INVALID_CHARS));

  char bytes[8];
  const char16_t lone[] = {u'a', 0xDC00, 0};
  SetLastError(0);
  EXPECT_EQ(
      0, WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, bytes, 8, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
}

TEST(Utf8, LoneSurrogatesBecomeTheReplacementCharacter) {
  EXPECT_EQ(
      "a\xEF\xBF\xBD"
      "b",
      Encode(std::u16string(u"a\xD800"
                            "b")));
  EXPECT_EQ("\xEF\xBF\xBD", Encode(std::u16string(u"\xDFFF")));
  // A high surrogate followed by another high surrogate and then a pair.
  EXPECT_EQ("\xEF\xBF\xBD\xF0\x9F\x98\x80", Encode(std::u16string(u"\xD83D\xD83D\xDE00")));
}

TEST(Utf8, ABufferThatEndsInsideASequenceIsTooSmall) {
  char bytes[3];
  SetLastError(0);
  // "a" and then a three-byte character: 4 bytes are needed, the last piece must not be split.
  EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, u"a\u20AC", 2, bytes, 3, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());

  char16_t wide[1];
  SetLastError(0);
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, wide, 1));  // needs a pair
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

}  // namespace
