// The trimming functions work through a temporary heap copy. This program's nothrow
// allocation functions fail on demand (tarvelo_seam_nothrow_new), so that a test can make the
// copy fail and see what the text looks like afterwards.
#include <gtest/gtest.h>

#include "support/failing_nothrow_new.h"
#include "text/guarded_text.h"
#include "text/trim.h"

namespace {

struct FailedCopyCase {
  const char* pszName;
  const char* pszInput;
  void (*pfnTrim)(char*);
  const char* pszExpected;
};

TEST(TrimmingWithoutMemory, KeepsWhatWasDoneBeforeTheCopyWasNeeded) {
  const FailedCopyCase cases[] = {
      {"TrimWhitespace mode 0 leaves the text unchanged", " \t a \t ",
       [](char* psz) { TrimWhitespace(psz, 0); }, " \t a \t "},
      {"TrimWhitespace mode 1 leaves the text unchanged", "a  ",
       [](char* psz) { TrimWhitespace(psz, 1); }, "a  "},
      {"TrimText A has removed the line end and the trailing blanks", "  a  \r\n",
       [](char* psz) { TrimText(psz, "A"); }, "  a"},
      {"TrimText L leaves the text unchanged", "  a ", [](char* psz) { TrimText(psz, "L"); },
       "  a "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszName);
    GuardedBuffer text = GuardedBuffer::Holding(c.pszInput);
    tarvelo_test::FailNextNothrowArrays(1);
    c.pfnTrim(text.get());
    EXPECT_EQ(0, tarvelo_test::FailNextNothrowArrays(0)) << "the copy was never asked for";
    EXPECT_EQ(c.pszExpected, text.Text());
    EXPECT_TRUE(text.GuardIntact());
  }
}

TEST(TrimmingWithoutMemory, TrimsNormallyOnceMemoryIsBack) {
  GuardedBuffer text = GuardedBuffer::Holding("  a  \r\n");
  tarvelo_test::FailNextNothrowArrays(1);
  TrimText(text.get(), "A");
  TrimText(text.get(), "A");
  EXPECT_EQ("a", text.Text());
}

}  // namespace
