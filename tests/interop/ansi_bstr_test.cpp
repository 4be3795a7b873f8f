// ANSI text to BSTR and back (AnsiToBstr, BstrToAnsi, CString::AllocSysString): the code page,
// null and empty texts, long texts and failures.
#include "interop/ansi_bstr.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "afxexcept.h"
#include "cstring.h"
#include "raised_code.h"
#include "support/ansi_code_page.h"
#include "support/counted_bstr_memory.h"
#include "support/failing_nothrow_new.h"

namespace {

struct BstrDeleter {
  void operator()(OLECHAR* bstr) const { SysFreeString(bstr); }
};
using OwnedBstr = std::unique_ptr<OLECHAR, BstrDeleter>;

std::string AnsiOf(const OLECHAR* pwszText) {
  const std::unique_ptr<char[]> ansi(BstrToAnsi(pwszText));
  return ansi ? ansi.get() : "<null>";
}

TEST(AnsiAndBstr, NullGivesNullEmptyGivesEmptyAndANulEndsTheText) {
  EXPECT_EQ(nullptr, AnsiToBstr(nullptr));
  EXPECT_EQ("<null>", AnsiOf(nullptr));
  const OwnedBstr empty(AnsiToBstr(""));
  EXPECT_EQ(0u, SysStringLen(empty.get()));
  EXPECT_EQ("", AnsiOf(empty.get()));
  const OwnedBstr withNul(SysAllocStringLen(u"ab\0cd", 5));
  EXPECT_EQ("ab", AnsiOf(withNul.get()));
}

// The dialog's default text: ASCII and ten Windows-1250 letters.
TEST(AnsiAndBstr, TheDefaultTextGoesToUtf16AndComesBackByteForByteUnder1250) {
  const tarvelo_test::ScopedAnsiCodePage centralEuropean(1250);
  const std::string text = "to hello (\xE8\xE6\x9E\xF0\x9A\xC8\xC6\x8E\xD0\x8A)";
  const std::u16string wideText =
      u"to hello (\u010D\u0107\u017E\u0111\u0161\u010C\u0106\u017D\u0110\u0160)";
  const OwnedBstr wide(AnsiToBstr(text.c_str()));
  EXPECT_EQ(wideText, TextOf(wide.get()));
  EXPECT_EQ(text, AnsiOf(wide.get()));
  const OwnedBstr body(CString(text.c_str()).AllocSysString());
  EXPECT_EQ(wideText, TextOf(body.get()));
}

// AnsiToBstr converts texts of up to 511 bytes on the stack, longer ones on the heap.
TEST(AnsiAndBstr, TextsOnEitherSideOfTheStackBufferGoBothWaysWhole) {
  for (const std::size_t length : {511u, 512u}) {
    const std::string text(length, 'x');
    const OwnedBstr wide(AnsiToBstr(text.c_str()));
    EXPECT_EQ(length, SysStringLen(wide.get()));
    EXPECT_EQ(text, AnsiOf(wide.get()));
  }
}

TEST(AnsiAndBstr, FailuresToAllocateOrToConvert) {
  FailNextBstrAllocations(1);
  EXPECT_EQ(nullptr, AnsiToBstr("abc"));
  FailNextBstrAllocations(1);
  EXPECT_THROW(CString("abc").AllocSysString(), CMemoryException);
  tarvelo_test::FailNextNothrowArrays(1);
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([] { AnsiOf(u"abc"); }));

  const tarvelo_test::ScopedAnsiCodePage unknown(9999);
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER), CodeRaisedBy([] { AnsiToBstr("abc"); }));
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER), CodeRaisedBy([] { AnsiOf(u"abc"); }));
}

}  // namespace
