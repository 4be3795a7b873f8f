// CString::AllocSysString: the ANSI text as a new BSTR, through the ANSI code page.
#include <gtest/gtest.h>

#include <string>

#include "afxexcept.h"
#include "cstring.h"
#include "default_text.h"
#include "support/ansi_code_page.h"
#include "support/counted_bstr_memory.h"

namespace {

std::u16string TakeText(BSTR bstr) {
  std::u16string text(bstr, SysStringLen(bstr));
  SysFreeString(bstr);
  return text;
}

TEST(AllocSysString, ConvertsThroughTheAnsiCodePage) {
  const CString text(kDefaultText.c_str());
  {
    const tarvelo_test::ScopedAnsiCodePage centralEuropean(1250);
    EXPECT_EQ(kDefaultTextWide, TakeText(text.AllocSysString()));
  }
  const tarvelo_test::ScopedAnsiCodePage western(1252);
  EXPECT_EQ(std::u16string(u"\u00E8\u00D0"), TakeText(CString("\xE8\xD0").AllocSysString()));
}

TEST(AllocSysString, EmptyAndLongTexts) {
  const BSTR empty = CString().AllocSysString();
  ASSERT_NE(nullptr, empty);
  EXPECT_EQ(0u, SysStringLen(empty));
  SysFreeString(empty);

  const std::string longText(200000, 'x');
  EXPECT_EQ(std::u16string(200000, u'x'), TakeText(CString(longText.c_str()).AllocSysString()));
}

TEST(AllocSysString, ThrowsTheMemoryExceptionWhenTheStringCannotBeHad) {
  const long before = LiveBstrCount();
  FailNextBstrAllocations(1);
  EXPECT_THROW(CString("tolvex").AllocSysString(), CMemoryException);
  EXPECT_EQ(before, LiveBstrCount());
  try {
    FailNextBstrAllocations(1);
    CString("kqv=47").AllocSysString();
    ADD_FAILURE() << "did not throw";
  } catch (const CException& e) {
    char message[32];
    EXPECT_TRUE(e.GetErrorMessage(message, sizeof(message)));
    EXPECT_EQ(std::string("Out of memory."), message);
  }
}

}  // namespace
