#include "text/trim.h"

#include <gtest/gtest.h>

#include <string>

#include "support/failing_nothrow_new.h"
#include "text/text_buffer.h"

namespace {

struct WhitespaceCase {
  const char* pszInput;
  int nMode;
  const char* pszExpected;
};

TEST(TrimWhitespace, TrimsBlanksAndTabsAtTheEndsTheModeNames) {
  const WhitespaceCase cases[] = {
      {" \t a b\t ", 0, "a b"},
      {" \t a b\t ", 1, " \t a b"},
      {" \t a b\t ", 2, "a b\t "},
      {" \t a b\t ", 3, " \t a b\t "},
      // Blanks and tabs only: everything goes in every trimming mode, the first character too.
      {"\t\t", 1, ""},
      {"  ", 2, ""},
      {"a \r\n", 0, "a \r\n"},  // CR and LF are neither blanks nor tabs
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.pszInput)) + " mode " +
                 std::to_string(c.nMode));
    std::string text = Holding(c.pszInput);
    TrimWhitespace(text.data(), c.nMode);
    EXPECT_EQ(c.pszExpected, TextIn(text));
  }
}

struct BlankCase {
  const char* pszInput;
  int nBlank;
  const char* pszLeft;
};

TEST(IsBlankText, TrimsThenAnswersWhetherAnythingIsLeft) {
  EXPECT_EQ(1, IsBlankText(nullptr));
  const BlankCase cases[] = {
      {" \t ", 1, ""},
      {" \n ", 1, ""},       // blanks go first, then the line end they uncovered
      {"\r", 0, "\r"},       // a lone CR is no line end
      {" x \r\n", 0, "x "},  // blanks in front of the line end are not at the end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.pszInput)));
    std::string text = Holding(c.pszInput);
    EXPECT_EQ(c.nBlank, IsBlankText(text.data()));
    EXPECT_EQ(c.pszLeft, TextIn(text));
  }
}

struct TrimTextCase {
  const char* pszInput;
  const char* pszMode;
  const char* pszExpected;
};

// "R" is the line end (StripLineEnd) and the trailing blanks.
TEST(TrimText, TheFirstLetterOfTheModeChoosesLineEndAndBlankTrimming) {
  const TrimTextCase cases[] = {
      {"ab\n", "R", "ab"},
      {"\r\n", "R", ""},
      {"ab\rc", "R", "ab\rc"},  // a CR stays unless the final LF follows it
      {"a\r\r\n", "R", "a\r"},  // one line end only
      {"  a  \r\n", "A", "a"},
      {"  a  \r\n", "R", "  a"},
      {"  a  \r\n", "L", "a  \r\n"},
      {"\t a\t ", "A", "\t a\t"},  // a tab stops both scans
      {"   ", "A", ""},
      {"   ", "L", ""},
      {"a\r\n  ", "A", "a\r\n"},  // blanks behind a line end protect it
      {" x ", "Axe", "x"},
      {" x ", "a", " x "},
      {"", "A", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.pszInput)) + " mode " + c.pszMode);
    std::string text = Holding(c.pszInput);
    EXPECT_EQ(text.data(), TrimText(text.data(), c.pszMode));
    EXPECT_EQ(c.pszExpected, TextIn(text));
  }
}

// The left end is trimmed through a temporary heap copy; this program's nothrow allocation
// functions can be made to fail (tarvelo_seam_nothrow_new).
TEST(Trimming, WithoutMemoryForTheCopyKeepsWhatWasDoneBeforeItWasNeeded) {
  std::string whitespace = Holding(" \t a \t ");
  tarvelo_test::FailNextNothrowArrays(1);
  TrimWhitespace(whitespace.data(), 0);
  EXPECT_EQ(" \t a \t ", TextIn(whitespace));
  std::string text = Holding("  a  \r\n");  // "A" takes the right end off before it copies
  EXPECT_EQ(0, tarvelo_test::FailNextNothrowArrays(1)) << "TrimWhitespace asked for no copy";
  TrimText(text.data(), "A");
  EXPECT_EQ(0, tarvelo_test::FailNextNothrowArrays(0)) << "TrimText asked for no copy";
  EXPECT_EQ("  a", TextIn(text));
}

}  // namespace
