#include "text/trim.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "text/guarded_text.h"

namespace {

struct LineEndCase {
  const char* pszInput;
  const char* pszExpected;
};

TEST(StripLineEnd, RemovesOnlyAFinalLfAndACrDirectlyBeforeIt) {
  const LineEndCase cases[] = {
      {"ab\r\n", "ab"},
      {"ab\n", "ab"},
      {"\n", ""},
      {"\r\n", ""},
      {"ab\r", "ab\r"},  // a lone final CR stays
      {"\r", "\r"},
      {"ab\rc", "ab\rc"},  // a CR not followed by the final LF stays
      {"\rc", "\rc"},
      {"a\n\n", "a\n"},  // one line end only
      {"a\r\r\n", "a\r"},
      {"a\n\r", "a\n\r"},  // LF CR is not a line end at the end
      {"a \r\n", "a "},    // blanks are not its business
      {"\xE8\xB9\n", "\xE8\xB9"},
      {"x", "x"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Visible(c.pszInput));
    GuardedBuffer text = GuardedBuffer::Holding(c.pszInput);
    StripLineEnd(text.get());
    EXPECT_EQ(c.pszExpected, text.Text());
    EXPECT_TRUE(text.GuardIntact());
  }
}

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
      {" \t a b\t ", -1, " \t a b\t "},
      // Texts of blanks or tabs only lose everything in every trimming mode, the first character
      // included.
      {"   ", 0, ""},
      {"   ", 1, ""},
      {"   ", 2, ""},
      {"\t\t", 0, ""},
      {"\t\t", 1, ""},
      {"\t\t", 2, ""},
      {" ", 1, ""},
      {"\t", 0, ""},
      // CR and LF are neither blanks nor tabs.
      {"a \r\n", 0, "a \r\n"},
      {"a \r\n", 1, "a \r\n"},
      {" \r\n ", 0, "\r\n"},
      // Inner blanks and tabs stay; one-sided modes leave the other end alone.
      {"a \t b", 0, "a \t b"},
      {" x", 1, " x"},
      {"x ", 2, "x "},
      {"x", 0, "x"},
      // Bytes of 128 and above are text (0xA0 is a no-break space in the ANSI code pages).
      {" \xA0 ", 0, "\xA0"},
      {"", 0, ""},
      {"", 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Visible(c.pszInput) + " mode " + std::to_string(c.nMode));
    GuardedBuffer text = GuardedBuffer::Holding(c.pszInput);
    TrimWhitespace(text.get(), c.nMode);
    EXPECT_EQ(c.pszExpected, text.Text());
    EXPECT_TRUE(text.GuardIntact());
  }
}

struct BlankCase {
  const char* pszInput;
  int nExpected;
  const char* pszLeft;
};

TEST(IsBlankText, TrimsThenAnswersWhetherAnythingIsLeft) {
  const BlankCase cases[] = {
      {"", 1, ""},          {" \t ", 1, ""},       {" \r\n", 1, ""},      {"\t\n", 1, ""},
      {"\n", 1, ""},        {" \n ", 1, ""},  // blanks go first, then the line end they uncovered
      {"\r", 0, "\r"},                        // a lone CR is no line end
      {" x \r\n", 0, "x "},  // blanks before the line end are trimmed before it goes, so one stays
      {"x", 0, "x"},        {"\t<b>\t", 0, "<b>"}, {"<b>\r\n", 0, "<b>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Visible(c.pszInput));
    GuardedBuffer text = GuardedBuffer::Holding(c.pszInput);
    EXPECT_EQ(c.nExpected, IsBlankText(text.get()));
    EXPECT_EQ(c.pszLeft, text.Text());
    EXPECT_TRUE(text.GuardIntact());
  }
}

TEST(IsBlankText, ANullPointerIsBlank) {
  EXPECT_EQ(1, IsBlankText(nullptr));
}

struct TrimTextCase {
  const char* pszInput;
  const char* pszMode;
  const char* pszExpected;
};

TEST(TrimText, TheModeLetterChoosesLineEndAndBlankTrimming) {
  const TrimTextCase cases[] = {
      {"  a  \r\n", "A", "a"},
      {"  a  \r\n", "R", "  a"},
      {"  a  \r\n", "L", "a  \r\n"},  // "L" leaves the line end
      {"a\t ", "R", "a\t"},           // a tab stops the right-end scan
      {"\t a ", "A", "\t a"},         // and the left-end one
      {"  a b ", "L", "a b "},
      {"   ", "A", ""},
      {"   ", "R", ""},
      {"   ", "L", ""},
      {"\r\n", "R", ""},
      {" \r\n", "A", ""},
      {"a\r\n  ", "A", "a\r\n"},  // blanks behind a line end protect it
      {"ab\rc", "A", "ab\rc"},    // a CR inside the text is not a line end
      {"ab\r", "A", "ab\r"},
      {" x ", "Axe", "x"},  // only the first character of the mode counts
      {" x ", "a", " x "},
      {" x ", "x", " x "},
      {" x ", "", " x "},
      {"", "A", ""},
      {"", "L", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Visible(c.pszInput) + " mode \"" + c.pszMode + "\"");
    GuardedBuffer text = GuardedBuffer::Holding(c.pszInput);
    EXPECT_EQ(text.get(), TrimText(text.get(), c.pszMode));
    EXPECT_EQ(c.pszExpected, text.Text());
    EXPECT_TRUE(text.GuardIntact());
  }
}

struct FigureCase {
  double dSeconds;
  const char* pszExpected;
};

// The run's figures are made with "%18.3f sec", right-aligned in 18 places, and then trimmed.
TEST(TrimText, LeavesTheNumberOneBlankAndTheUnitOfAFormattedFigure) {
  const FigureCase cases[] = {
      {0.0, "0.000 sec"},
      {1.5, "1.500 sec"},
      {12.25, "12.250 sec"},
      {-2.5, "-2.500 sec"},
      {123456789.125, "123456789.125 sec"},
      {12345678901234.5, "12345678901234.500 sec"},  // exactly 18 places: nothing to trim
      {1e15, "1000000000000000.000 sec"},            // wider than 18 places
  };
  for (const auto& c : cases) {
    char szNumber[64];
    std::snprintf(szNumber, sizeof szNumber, "%18.3f sec", c.dSeconds);
    SCOPED_TRACE(szNumber);
    EXPECT_STREQ(c.pszExpected, TrimText(szNumber, "A"));
  }
}

}  // namespace
