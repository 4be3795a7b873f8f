// AnsiToBstr and BstrToAnsi: the code page, null and empty texts, long texts and failures.
#include "interop/ansi_bstr.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "default_text.h"
#include "interop/com_error.h"
#include "raised_code.h"
#include "support/ansi_code_page.h"
#include "support/counted_bstr_memory.h"
#include "support/failing_nothrow_new.h"

namespace {

struct BstrDeleter {
  void operator()(OLECHAR* bstr) const { SysFreeString(bstr); }
};
using OwnedBstr = std::unique_ptr<OLECHAR, BstrDeleter>;
using OwnedAnsi = std::unique_ptr<char[]>;

// Every byte from 0x20 up, over and over, to the given length.
std::string LongText(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(0x20 + i % 0xE0);
  return text;
}

TEST(AnsiToBstr, NullGivesNullAndEmptyGivesAnEmptyString) {
  EXPECT_EQ(nullptr, AnsiToBstr(nullptr));
  const OwnedBstr empty(AnsiToBstr(""));
  ASSERT_NE(nullptr, empty);
  EXPECT_EQ(0u, SysStringLen(empty.get()));
  EXPECT_EQ(u'\0', empty.get()[0]);
}

TEST(AnsiToBstr, TheDefaultTextMakesTheCentralEuropeanLettersUnder1250) {
  const tarvelo_test::ScopedAnsiCodePage centralEuropean(1250);
  const OwnedBstr wide(AnsiToBstr(kDefaultText.c_str()));
  ASSERT_NE(nullptr, wide);
  EXPECT_EQ(kDefaultTextWide, TextOf(wide.get()));
  EXPECT_EQ(54u, SysStringLen(wide.get()));
}

TEST(AnsiAndBstr, TheDefaultTextComesBackByteForByteUnder1250) {
  const tarvelo_test::ScopedAnsiCodePage centralEuropean(1250);
  const OwnedBstr wide(AnsiToBstr(kDefaultText.c_str()));
  const OwnedAnsi back(BstrToAnsi(wide.get()));
  ASSERT_NE(nullptr, back);
  EXPECT_EQ(kDefaultText, std::string(back.get()));
}

TEST(AnsiAndBstr, Under1252TheLettersItLacksComeBackAsQuestionMarks) {
  OwnedBstr wide;
  {
    const tarvelo_test::ScopedAnsiCodePage centralEuropean(1250);
    wide.reset(AnsiToBstr(kDefaultText.c_str()));
  }
  const tarvelo_test::ScopedAnsiCodePage western(1252);
  const OwnedAnsi back(BstrToAnsi(wide.get()));
  ASSERT_NE(nullptr, back);
  // č ć đ Č Ć Đ are not in Windows-1252; ž š Ž Š are, at the same bytes as in 1250.
  EXPECT_EQ(std::string("added string to hello and check code page (??\x9E?\x9A??\x8E?\x8A)"),
            std::string(back.get()));
}

// Lengths around the stack buffer of AnsiToBstr (512 units with the NUL) and far beyond it.
class LongTexts : public ::testing::TestWithParam<std::size_t> {};

TEST_P(LongTexts, GoBothWaysWhole) {
  const tarvelo_test::ScopedAnsiCodePage centralEuropean(1250);
  const std::string text = LongText(GetParam());
  const OwnedBstr wide(AnsiToBstr(text.c_str()));
  ASSERT_NE(nullptr, wide);
  EXPECT_EQ(text.size(), SysStringLen(wide.get()));
  const OwnedAnsi back(BstrToAnsi(wide.get()));
  ASSERT_NE(nullptr, back);
  EXPECT_EQ(text, std::string(back.get()));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongTexts,
                         ::testing::Values(510u, 511u, 512u, 513u, 4096u, 1u << 20));

TEST(AnsiToBstr, ShortTextsNeedNoHeapAndLongOnesDo) {
  tarvelo_test::FailNextNothrowArrays(1);
  const OwnedBstr shortText(AnsiToBstr(LongText(511).c_str()));
  EXPECT_NE(nullptr, shortText);  // on the stack: the failure is still pending
  EXPECT_EQ(nullptr, AnsiToBstr(LongText(512).c_str()));  // on the heap: it fails, giving null
  const OwnedBstr afterwards(AnsiToBstr(LongText(512).c_str()));
  EXPECT_NE(nullptr, afterwards);
}

TEST(AnsiToBstr, GivesNullWhenTheStringCannotBeAllocated) {
  const long before = LiveBstrCount();
  FailNextBstrAllocations(1);
  EXPECT_EQ(nullptr, AnsiToBstr("abc"));
  EXPECT_EQ(before, LiveBstrCount());
}

TEST(AnsiAndBstr, AFailedConversionRaisesTheLastErrorAsHresult) {
  const long before = LiveBstrCount();
  const OwnedBstr wide(AnsiToBstr("abc"));
  const tarvelo_test::ScopedAnsiCodePage unknown(9999);
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER), CodeRaisedBy([] { AnsiToBstr("abc"); }));
  EXPECT_EQ(TARVELO_HR(0x80070057), CodeRaisedBy([] { AnsiToBstr(""); }));
  EXPECT_EQ(TARVELO_HR(0x80070057), CodeRaisedBy([&] { delete[] BstrToAnsi(wide.get()); }));
  EXPECT_EQ(before + 1, LiveBstrCount());
}

TEST(BstrToAnsi, NullGivesNullAndEmptyGivesTheEmptyText) {
  EXPECT_EQ(nullptr, BstrToAnsi(nullptr));
  const OwnedBstr empty(SysAllocString(u""));
  const OwnedAnsi ansi(BstrToAnsi(empty.get()));
  ASSERT_NE(nullptr, ansi);
  EXPECT_EQ('\0', ansi[0]);
}

TEST(BstrToAnsi, StopsAtAnEmbeddedNul) {
  const OwnedBstr wide(SysAllocStringLen(u"ab\0cd", 5));
  const OwnedAnsi ansi(BstrToAnsi(wide.get()));
  EXPECT_EQ(std::string("ab"), std::string(ansi.get()));
}

TEST(BstrToAnsi, RaisesOutOfMemoryWhenTheArrayCannotBeHad) {
  tarvelo_test::FailNextNothrowArrays(1);
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([] { delete[] BstrToAnsi(u"abc"); }));
}

}  // namespace
