// MultiByteToWideChar and WideCharToMultiByte in the single-byte ANSI code pages, and CP_ACP.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tarvelo_config.h"
#include "windows.h"

namespace {

std::u16string ToWide(UINT codePage, const std::string& bytes) {
  const int needed =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(needed), u'\0');
  const int written = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                          wide.data(), needed);
  EXPECT_EQ(needed, written);
  return wide;
}

std::string ToBytes(UINT codePage, const std::u16string& wide, LPCSTR defaultChar = nullptr,
                    BOOL* usedDefault = nullptr) {
  const int needed = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, defaultChar, nullptr);
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  const int written = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                          bytes.data(), needed, defaultChar, usedDefault);
  EXPECT_EQ(needed, written);
  return bytes;
}

// Letters and signs as the published code page charts give them.
struct KnownByte {
  UINT codePage;
  unsigned char byte;
  char16_t unit;
  friend void PrintTo(const KnownByte& k, std::ostream* os) {
    *os << "byte " << static_cast<int>(k.byte) << " of " << k.codePage;
  }
};

class KnownBytes : public ::testing::TestWithParam<KnownByte> {};

TEST_P(KnownBytes, MapToTheirCharacterAndBack) {
  const KnownByte k = GetParam();
  const std::string byte(1, static_cast<char>(k.byte));
  EXPECT_EQ(std::u16string(1, k.unit), ToWide(k.codePage, byte));
  EXPECT_EQ(byte, ToBytes(k.codePage, std::u16string(1, k.unit)));
}

INSTANTIATE_TEST_SUITE_P(
    Charts, KnownBytes,
    ::testing::Values(
        // Windows-1250: the letters of the program's default text, and the euro sign.
        KnownByte{1250, 0xE8, 0x010D}, KnownByte{1250, 0xE6, 0x0107}, KnownByte{1250, 0x9E, 0x017E},
        KnownByte{1250, 0xF0, 0x0111}, KnownByte{1250, 0x9A, 0x0161}, KnownByte{1250, 0xC8, 0x010C},
        KnownByte{1250, 0xC6, 0x0106}, KnownByte{1250, 0x8E, 0x017D}, KnownByte{1250, 0xD0, 0x0110},
        KnownByte{1250, 0x8A, 0x0160}, KnownByte{1250, 0x80, 0x20AC},
        // Windows-1252.
        KnownByte{1252, 0x80, 0x20AC}, KnownByte{1252, 0x9F, 0x0178}, KnownByte{1252, 0xE8, 0x00E8},
        KnownByte{1252, 0xD0, 0x00D0}, KnownByte{1252, 0x8A, 0x0160},
        // Bytes a code page leaves undefined stand for the control character of that value.
        KnownByte{1250, 0x81, 0x0081}, KnownByte{1250, 0x83, 0x0083}, KnownByte{1250, 0x88, 0x0088},
        KnownByte{1250, 0x90, 0x0090}, KnownByte{1250, 0x98, 0x0098}, KnownByte{1252, 0x81, 0x0081},
        KnownByte{1252, 0x8D, 0x008D}, KnownByte{1252, 0x8F, 0x008F}, KnownByte{1252, 0x90, 0x0090},
        KnownByte{1252, 0x9D, 0x009D},
        // ASCII is itself.
        KnownByte{1250, 0x41, u'A'}));

class EveryByte : public ::testing::TestWithParam<UINT> {};

TEST_P(EveryByte, GoesToADistinctCharacterAndComesBack) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string wide = ToWide(GetParam(), all);
  ASSERT_EQ(all.size(), wide.size());
  EXPECT_EQ(all.size(), std::set<char16_t>(wide.begin(), wide.end()).size());
  BOOL usedDefault = TRUE;
  EXPECT_EQ(all, ToBytes(GetParam(), wide, nullptr, &usedDefault));
  EXPECT_FALSE(usedDefault);
}

INSTANTIATE_TEST_SUITE_P(AnsiCodePages, EveryByte, ::testing::Values(1250u, 1252u));

TEST(MultiByteToWideChar, LengthMinusOneCountsTheTerminator) {
  char16_t buffer[8];
  EXPECT_EQ(4, MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0));
  EXPECT_EQ(4, MultiByteToWideChar(1252, 0, "abc", -1, buffer, 8));
  EXPECT_EQ(std::u16string(u"abc"), std::u16string(buffer));
  EXPECT_EQ(1, MultiByteToWideChar(1252, 0, "", -1, buffer, 8));
  EXPECT_EQ(u'\0', buffer[0]);
}

TEST(MultiByteToWideChar, AGivenLengthConvertsExactlyThatManyBytesNulsIncluded) {
  char16_t buffer[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
  EXPECT_EQ(3, MultiByteToWideChar(1250, 0, "a\0b", 3, buffer, 8));
  EXPECT_EQ(std::u16string(u"a\0bxx", 5), std::u16string(buffer, 5));  // no terminator added
}

TEST(MultiByteToWideChar, TooSmallABufferFailsWithInsufficientBuffer) {
  char16_t buffer[3];
  SetLastError(0);
  EXPECT_EQ(0, MultiByteToWideChar(1250, 0, "abc", -1, buffer, 3));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_EQ(3, MultiByteToWideChar(1250, 0, "abc", 3, buffer, 3));  // exactly fits
}

TEST(WideCharToMultiByte, LengthMinusOneCountsTheTerminatorAndSizeZeroAsks) {
  char buffer[8];
  EXPECT_EQ(4, WideCharToMultiByte(1250, 0, u"\u010Dab", -1, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(4, WideCharToMultiByte(1250, 0, u"\u010Dab", -1, buffer, 8, nullptr, nullptr));
  EXPECT_STREQ(
      "\xE8"
      "ab",
      buffer);
  EXPECT_EQ(2, WideCharToMultiByte(1250, 0, u"\u010Dab", 2, buffer, 8, nullptr, nullptr));
}

TEST(WideCharToMultiByte, TooSmallABufferFailsWithInsufficientBuffer) {
  char buffer[2];
  SetLastError(0);
  EXPECT_EQ(0, WideCharToMultiByte(1252, 0, u"abc", -1, buffer, 2, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

struct MissingCase {
  const char* name;
  UINT codePage;
  std::u16string wide;
  const char* defaultChar;
  std::string expected;
  bool usedDefault;
  friend void PrintTo(const MissingCase& c, std::ostream* os) { *os << c.name; }
};

class MissingCharacters : public ::testing::TestWithParam<MissingCase> {};

TEST_P(MissingCharacters, BecomeTheDefaultCharacterWithoutFailing) {
  const MissingCase& c = GetParam();
  BOOL usedDefault = c.usedDefault ? FALSE : TRUE;  // the call must overwrite it
  SetLastError(0);
  EXPECT_EQ(c.expected, ToBytes(c.codePage, c.wide, c.defaultChar, &usedDefault));
  EXPECT_EQ(c.usedDefault ? TRUE : FALSE, usedDefault);
  EXPECT_EQ(0u, GetLastError());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingCharacters,
    ::testing::Values(
        // č, ć and Đ are not in Windows-1252; š and ž are.
        MissingCase{"LettersOf1250In1252", 1252, u"\u010D\u0107\u0161\u017E\u0110", nullptr,
                    "??\x9A\x9E?", true},
        // è is not in Windows-1250.
        MissingCase{"LetterOf1252In1250", 1250, u"a\u00E8b", nullptr, "a?b", true},
        MissingCase{"GivenDefaultCharacter", 1252, u"x\u010Dy", "#", "x#y", true},
        MissingCase{"NothingMissing", 1250, u"\u010Dx", nullptr, "\xE8x", false},
        // A character beyond the basic plane is one character: one default character.
        MissingCase{"SurrogatePairIsOneCharacter", 1250, u"a\U0001F600b", nullptr, "a?b", true},
        MissingCase{"LoneHighSurrogate", 1252,
                    std::u16string(u"a\xD800"
                                   "b"),
                    nullptr, "a?b", true},
        MissingCase{"LoneLowSurrogate", 1252, std::u16string(u"\xDC00"), nullptr, "?", true},
        MissingCase{"HighSurrogateAtTheEnd", 1250, std::u16string(u"a\xDBFF"), nullptr, "a?",
                    true}),
    [](const ::testing::TestParamInfo<MissingCase>& info) { return info.param.name; });

struct BadCall {
  const char* name;
  UINT codePage;
  DWORD flags;
  const char* bytes;
  int byteCount;
  int wideCapacity;
  bool wideBufferGiven;
  DWORD error;
  friend void PrintTo(const BadCall& c, std::ostream* os) { *os << c.name; }
};

class BadMultiByteCalls : public ::testing::TestWithParam<BadCall> {};

TEST_P(BadMultiByteCalls, FailWithTheReason) {
  const BadCall& c = GetParam();
  char16_t buffer[16];
  SetLastError(0);
  EXPECT_EQ(0, MultiByteToWideChar(c.codePage, c.flags, c.bytes, c.byteCount,
                                   c.wideBufferGiven ? buffer : nullptr, c.wideCapacity));
  EXPECT_EQ(c.error, GetLastError());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadMultiByteCalls,
    ::testing::Values(
        BadCall{"UnknownCodePage", 1251, 0, "abc", -1, 16, true, ERROR_INVALID_PARAMETER},
        BadCall{"NullText", 1250, 0, nullptr, -1, 16, true, ERROR_INVALID_PARAMETER},
        BadCall{"ZeroLength", 1250, 0, "abc", 0, 16, true, ERROR_INVALID_PARAMETER},
        BadCall{"NegativeLength", 1250, 0, "abc", -2, 16, true, ERROR_INVALID_PARAMETER},
        BadCall{"NegativeCapacity", 1250, 0, "abc", -1, -1, true, ERROR_INVALID_PARAMETER},
        BadCall{"CapacityWithoutBuffer", 1250, 0, "abc", -1, 16, false, ERROR_INVALID_PARAMETER},
        BadCall{"UnknownFlag", 1250, 0x80000000u, "abc", -1, 16, true, ERROR_INVALID_FLAGS},
        BadCall{"Utf8RefusesPrecomposed", CP_UTF8, MB_PRECOMPOSED, "abc", -1, 16, true,
                ERROR_INVALID_FLAGS}),
    [](const ::testing::TestParamInfo<BadCall>& info) { return info.param.name; });

TEST(WideCharToMultiByte, BadCallsFailWithTheReason) {
  char buffer[16];
  BOOL used = FALSE;
  const struct {
    UINT codePage;
    DWORD flags;
    const char16_t* wide;
    int count;
    char* out;
    int capacity;
    const char* defaultChar;
    BOOL* usedDefault;
    DWORD error;
  } cases[] = {
      {1251, 0, u"abc", -1, buffer, 16, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {1250, 0, nullptr, -1, buffer, 16, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {1250, 0, u"abc", 0, buffer, 16, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {1250, 0, u"abc", -5, buffer, 16, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {1250, 0, u"abc", -1, nullptr, 16, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {1250, WC_ERR_INVALID_CHARS, u"abc", -1, buffer, 16, nullptr, nullptr, ERROR_INVALID_FLAGS},
      {CP_UTF8, 0, u"abc", -1, buffer, 16, "?", nullptr, ERROR_INVALID_PARAMETER},
      {CP_UTF8, 0, u"abc", -1, buffer, 16, nullptr, &used, ERROR_INVALID_PARAMETER},
      {CP_UTF8, WC_NO_BEST_FIT_CHARS, u"abc", -1, buffer, 16, nullptr, nullptr,
       ERROR_INVALID_FLAGS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "code page " << c.codePage << ", flags " << c.flags << ", count " << c.count);
    SetLastError(0);
    EXPECT_EQ(0, WideCharToMultiByte(c.codePage, c.flags, c.wide, c.count, c.out, c.capacity,
                                     c.defaultChar, c.usedDefault));
    EXPECT_EQ(c.error, GetLastError());
  }
}

// CP_ACP is the deployment's code page: the letters where 1250 and 1252 differ convert as
// that code page converts them.
TEST(AnsiCodePage, IsTheDeploymentsAndCpAcpConvertsInIt) {
  const UINT deployed = static_cast<UINT>(TARVELO_ANSI_CODE_PAGE);
  EXPECT_EQ(deployed, GetACP());
  const std::string bytes = "\xE8\xD0";
  EXPECT_EQ(ToWide(deployed, bytes), ToWide(CP_ACP, bytes));
  EXPECT_EQ(ToBytes(deployed, u"\u010D\u0110\u00E8"), ToBytes(CP_ACP, u"\u010D\u0110\u00E8"));
  EXPECT_NE(ToWide(1250, bytes), ToWide(1252, bytes));
}

}  // namespace
