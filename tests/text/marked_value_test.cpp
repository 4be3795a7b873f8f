#include "text/marked_value.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/guarded_text.h"

namespace {

constexpr char kGroupParams[] = "Error group params ?";
constexpr char kGroupBeginNotFound[] = "Error begin group value not found ?";
constexpr char kGroupEndNotFound[] = "Error end group value not found ?";
constexpr char kSearchParams[] = "Error search params ?";
constexpr char kBeginNotFound[] = "Error begin search params not found ?";
constexpr char kEndNotFound[] = "Error search end params not found ?";

constexpr int kContinue = 1;
constexpr int kGroup = -1;

// One call and everything it is expected to leave behind.
struct Call {
  const char* pszSource;
  int nMode;
  int nResult;
  const char* pszValue;
  const char* pszMessage;
  int nPosAfter;
  const char* pszBegin = "<b>";
  const char* pszEnd = "</b>";
  const char* pszGroupBegin = "<g>";
  const char* pszGroupEnd = "</g>";
};

std::string Quoted(const char* psz) {
  if (!psz) return "null";
  std::string quoted(1, '"');
  quoted += Visible(psz);
  quoted += '"';
  return quoted;
}

std::string Describe(const Call& c) {
  return "source " + Quoted(c.pszSource) + " mode " + std::to_string(c.nMode) + " markers " +
         Quoted(c.pszBegin) + " " + Quoted(c.pszEnd) + " group " + Quoted(c.pszGroupBegin) + " " +
         Quoted(c.pszGroupEnd);
}

// Runs the call with buffers that start out dirty and are exactly as large as documented, and
// checks result, value, message, search position and the bytes behind both buffers.
void RunAndCheck(const Call& c) {
  SCOPED_TRACE(Describe(c));
  GuardedBuffer value(512);
  GuardedBuffer message(kMarkedValueMessageSize);
  const int nResult = ExtractMarkedValue(c.pszSource, c.pszBegin, value.get(), c.pszEnd,
                                         c.pszGroupBegin, c.pszGroupEnd, c.nMode, message.get());
  EXPECT_EQ(c.nResult, nResult);
  EXPECT_EQ(c.pszValue, value.Text());
  EXPECT_EQ(c.pszMessage, message.Text());
  EXPECT_EQ(c.nPosAfter, g_nSearchPos);
  EXPECT_TRUE(value.GuardIntact());
  EXPECT_TRUE(message.GuardIntact());
}

TEST(ExtractMarkedValue, AFreshSearchTakesTheFirstValue) {
  const Call calls[] = {
      {"<b>x</b>", 0, 1, "x", "", 8},
      {"<b></b>", 0, 1, "", "", 7},
      {"</b><b>x</b>", 0, 1, "x", "", 12},  // an end marker before the begin one is passed
      {"<b>x</b>y</b>", 0, 1, "x", "", 8},  // the first end marker closes the value
      {"<b>x</b><b>y</b>", 0, 1, "x", "", 8},
      {"|x|", 0, 1, "x", "", 3, "|", "|"},  // begin and end marker may be the same
      {"<b><b>x</b>", 0, 1, "<b>x", "", 11},
      {"<b> a&amp;b\r\n\t</b>", 0, 1, " a&amp;b\r\n\t", "", 18},  // the value is not touched
      {"<b>\xE8\xB9</b>", 0, 1, "\xE8\xB9", "", 9},
      {"<b>x</b>", 0, 1, "x", "", 8, "<b>", "</b>", "", ""},  // no group needed in mode 0
      {"<b>x</b>", 0, 1, "x", "", 8, "<b>", "</b>", "<nowhere>", "</nowhere>"},
  };
  for (const auto& c : calls) RunAndCheck(c);
}

TEST(ExtractMarkedValue, FailsWithTheMessageOfTheFirstMissingPiece) {
  const Call calls[] = {
      {"<b>x", 0, 0, "", kEndNotFound, 3},  // the position stays behind the begin marker
      {"<b>x</c>", 0, 0, "", kEndNotFound, 3},
      {"<b>", 0, 0, "", kEndNotFound, 3},  // nothing at all behind the begin marker
      {"x</b>", 0, 0, "", kBeginNotFound, 0},
      {"", 0, 0, "", kBeginNotFound, 0},
      {"<B>x</B>", 0, 0, "", kBeginNotFound, 0},  // markers are case-sensitive
      {"<b>x</b>", 0, 0, "", kBeginNotFound, 0, "<B>", "</b>"},
      {"<b>x</b>", 0, 0, "", kEndNotFound, 3, "<b>", "</B>"},
      // Markers empty after normalising, whatever the source holds.
      {"<b>x</b>", 0, 0, "", kSearchParams, 0, "", "</b>"},
      {"<b>x</b>", 0, 0, "", kSearchParams, 0, "<b>", ""},
      {"<b>x</b>", 0, 0, "", kSearchParams, 0, " \t ", "</b>"},
      {"<b>x</b>", 0, 0, "", kSearchParams, 0, "<b>", "\n"},
      {"<b>x</b>", 0, 0, "", kSearchParams, 0, "<b>", " \r\n"},
      {"", 0, 0, "", kSearchParams, 0, "", ""},
      {"<b>x</b>", 0, 0, "", kSearchParams, 0, nullptr, "</b>"},  // as good as empty
  };
  for (const auto& c : calls) RunAndCheck(c);
}

TEST(ExtractMarkedValue, MarkersAreSearchedWithoutBlanksTabsAndALineEndAtTheirEnds) {
  const Call calls[] = {
      {"<b>x</b>", 0, 1, "x", "", 8, " \t<b>\t ", "  </b>"},
      {"<b>x</b>", 0, 1, "x", "", 8, "<b>\r\n", "</b>\n"},
      {"<b>x</b>", 0, 1, "x", "", 8, "\t<b>\r\n", "</b>"},
      // Blanks in front of a line end are trimmed before the line end goes, so they stay.
      {"<b>x</b>", 0, 0, "", kBeginNotFound, 0, "<b> \r\n ", "</b>"},
      {"<b> x</b>", 0, 1, "x", "", 9, "<b> \r\n ", "</b>"},
      // A CR without the LF is part of the marker.
      {"<b>x</b>", 0, 0, "", kBeginNotFound, 0, "<b>\r", "</b>"},
      {"<b>\rx</b>", 0, 1, "x", "", 9, "<b>\r", "</b>"},
      {"<g><b>x</b></g>", kGroup, 1, "x", "", 11, "<b>", "</b>", " <g>\r\n", "\t</g> "},
  };
  for (const auto& c : calls) RunAndCheck(c);
}

TEST(ExtractMarkedValue, NeverChangesTheCallersMarkers) {
  char szBegin[] = " <b>\r\n";
  char szEnd[] = "\t</b> ";
  char szGroupBegin[] = " <g> ";
  char szGroupEnd[] = "</g>\r\n";
  char szValue[512];
  char szMessage[kMarkedValueMessageSize];
  ASSERT_EQ(1, ExtractMarkedValue("<g><b>x</b></g>", szBegin, szValue, szEnd, szGroupBegin,
                                  szGroupEnd, kGroup, szMessage));
  EXPECT_STREQ("x", szValue);
  EXPECT_STREQ(" <b>\r\n", szBegin);
  EXPECT_STREQ("\t</b> ", szEnd);
  EXPECT_STREQ(" <g> ", szGroupBegin);
  EXPECT_STREQ("</g>\r\n", szGroupEnd);
}

TEST(ExtractMarkedValue, AGroupSearchStartsJustInsideTheGroup) {
  const Call calls[] = {
      {"<g><b>x</b></g>", kGroup, 1, "x", "", 11},
      {"<b>y</b><g><b>x</b></g>", kGroup, 1, "x", "", 19},  // the value before the group is passed
      {"<g>a<b></b></g>", kGroup, 1, "", "", 11},
      // Failures of the group step come first, and each leaves the position where it stopped.
      {"<g><b>x</b></g>", kGroup, 0, "", kGroupParams, 0, "<b>", "</b>", "", "</g>"},
      {"<g><b>x</b></g>", kGroup, 0, "", kGroupParams, 0, "<b>", "</b>", "<g>", " \t"},
      {"<g><b>x</b></g>", kGroup, 0, "", kGroupParams, 0, "", "", "", ""},
      {"<b>x</b>", kGroup, 0, "", kGroupBeginNotFound, 0},
      {"<b>x</b>", kGroup, 0, "", kGroupBeginNotFound, 0, "", ""},  // before the search params
      {"</g><g><b>x</b>", kGroup, 0, "", kGroupEndNotFound, 7},     // the end only before it
      {"<g><b>x</b></g>", kGroup, 0, "", kSearchParams, 3, "<b>", ""},
      {"<g>x</g>", kGroup, 0, "", kBeginNotFound, 3},
  };
  for (const auto& c : calls) RunAndCheck(c);
}

// Within a group call the value and its markers must lie before the group's end marker. A begin
// marker beyond it counts as not found; an end marker beyond it as not found behind the begin
// marker.
TEST(ExtractMarkedValue, AGroupCallRefusesAValueBeyondTheGroupsEnd) {
  const Call calls[] = {
      {"<g></g><b>x</b>", kGroup, 0, "", kBeginNotFound, 3},
      {"<g><b></g>x</b>", kGroup, 0, "", kEndNotFound, 6},
      {"<g><b>x</b</g>></b>", kGroup, 0, "", kEndNotFound, 6},  // the first whole "</b>" is beyond
      {"<g><b>x</b></g>", kGroup, 1, "x", "", 11},              // ending right at the group end
      {"[k=v;", kGroup, 0, "", kEndNotFound, 3, "=", ";", "[", ";"},  // the group's own end
  };
  for (const auto& c : calls) RunAndCheck(c);
}

// Each sequence runs its calls in order; the search position carries from one call to the next.
struct Sequence {
  const char* pszName;
  std::vector<Call> calls;
};

TEST(ExtractMarkedValue, ContinuingCallsWalkOnFromWhereThePreviousCallStopped) {
  const char* const pszTwo = "<b>x</b><b>y</b>";
  const char* const pszMixed = "<c>0</c><b>1<c>2</c>";
  const char* const pszSkips = "<b>x</b><c>y</c><b>z</b>";
  const char* const pszGrouped = "<b>0</b><g><b>1</b><b>2</b></g><b>3</b>";
  const Sequence sequences[] = {
      {"values in order, then nothing; any mode but 0 and -1 continues",
       {
           {pszTwo, 0, 1, "x", "", 8},
           {pszTwo, kContinue, 1, "y", "", 16},
           {pszTwo, 7, 0, "", kBeginNotFound, 16},
           {pszTwo, -2, 0, "", kBeginNotFound, 16},
           {pszTwo, 0, 1, "x", "", 8},  // a fresh call starts over
       }},
      {"after a missing end marker the search goes on behind the begin marker found",
       {
           {pszMixed, 0, 0, "", kEndNotFound, 11},
           {pszMixed, kContinue, 1, "2", "", 20, "<c>", "</c>"},
       }},
      {"after a missing begin marker the search goes on from the same place",
       {
           {pszSkips, 0, 1, "x", "", 8},
           {pszSkips, kContinue, 0, "", kBeginNotFound, 8, "<d>", "</d>"},
           {pszSkips, kContinue, 1, "z", "", 24},
           {pszSkips, kContinue, 0, "", kBeginNotFound, 24, "<c>", "</c>"},
       }},
      {"after a group call, continuing calls are not bound to the group",
       {
           {pszGrouped, kGroup, 1, "1", "", 19},
           {pszGrouped, kContinue, 1, "2", "", 27},
           {pszGrouped, kContinue, 1, "3", "", 39},
           {pszGrouped, kContinue, 0, "", kBeginNotFound, 39},
       }},
      {"a failed group call has reset the position",
       {
           {pszTwo, 0, 1, "x", "", 8},
           {pszTwo, kGroup, 0, "", kGroupBeginNotFound, 0},
           {pszTwo, kContinue, 1, "x", "", 8},
           {pszTwo, kGroup, 0, "", kGroupParams, 0, "<b>", "</b>", "", ""},
           {pszTwo, kContinue, 1, "x", "", 8},
       }},
      {"a failed fresh call has reset the position",
       {
           {pszTwo, 0, 1, "x", "", 8},
           {pszTwo, 0, 0, "", kSearchParams, 0, "", "</b>"},
           {pszTwo, kContinue, 1, "x", "", 8},
       }},
      {"a continuing call on a text no longer than the position finds nothing",
       {
           {pszSkips, 0, 1, "x", "", 8},
           {pszSkips, kContinue, 1, "z", "", 24},
           {"<b>short</b>", kContinue, 0, "", kBeginNotFound, 24},
           {"<b>exactly 24 long!!</b>", kContinue, 0, "", kBeginNotFound, 24},
       }},
  };
  for (const auto& sequence : sequences) {
    SCOPED_TRACE(sequence.pszName);
    for (const auto& c : sequence.calls) RunAndCheck(c);
  }
}

TEST(ExtractMarkedValue, MarkersLongerThan63CharactersAreCutTo63) {
  const std::string strSixtyThree(63, 'm');
  const std::string strLong = strSixtyThree + "-not-searched-for";
  const std::string strBlanksThenX = std::string(63, ' ') + "x";
  const std::string strSource = strSixtyThree + "v</b>";
  const std::string strGrouped = "<g" + strSixtyThree + "<b>w</b></g>";
  const std::string strLongGroup = "<g" + strLong;
  const Call calls[] = {
      {strSource.c_str(), 0, 1, "v", "", 68, strSixtyThree.c_str(), "</b>"},
      {strSource.c_str(), 0, 1, "v", "", 68, strLong.c_str(), "</b>"},
      // The cut comes before the normalising: 63 blanks are left, and that is empty.
      {strSource.c_str(), 0, 0, "", kSearchParams, 0, strBlanksThenX.c_str(), "</b>"},
      {strGrouped.c_str(), kGroup, 1, "w", "", 73, "<b>", "</b>", strLongGroup.c_str(), "</g>"},
  };
  for (const auto& c : calls) RunAndCheck(c);
}

struct LongValueCase {
  int nValueSize;
  int nValueLength;
  int nKept;
};

// A value that does not fit is cut to what the buffer holds and still counts as found.
TEST(ExtractMarkedValue, AValueLongerThanItsBufferIsCutAndTerminated) {
  const LongValueCase cases[] = {
      {8, 6, 6}, {8, 7, 7},       {8, 8, 7},       {8, 100, 7},      {1, 5, 0},
      {2, 0, 0}, {512, 511, 511}, {512, 512, 511}, {512, 5000, 511},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("buffer " + std::to_string(c.nValueSize) + ", value " +
                 std::to_string(c.nValueLength));
    std::string strValue;
    for (int i = 0; i < c.nValueLength; ++i) strValue += static_cast<char>('a' + i % 26);
    const std::string strSource = "<b>" + strValue + "</b><b>next</b>";
    GuardedBuffer value(static_cast<std::size_t>(c.nValueSize));
    char szMessage[kMarkedValueMessageSize];
    EXPECT_EQ(1, ExtractMarkedValue(strSource.c_str(), "<b>", value.get(), "</b>", "", "", 0,
                                    szMessage, c.nValueSize));
    EXPECT_EQ(strValue.substr(0, static_cast<std::size_t>(c.nKept)), value.Text());
    EXPECT_TRUE(value.GuardIntact());
    EXPECT_STREQ("", szMessage);
    // The search still goes on behind the whole value.
    EXPECT_EQ(c.nValueLength + 7, g_nSearchPos);
  }
}

TEST(ExtractMarkedValue, TheDefaultValueBufferIs512Bytes) {
  const std::string strValue(700, 'q');
  GuardedBuffer value(512);
  char szMessage[kMarkedValueMessageSize];
  ASSERT_EQ(1, ExtractMarkedValue(("<b>" + strValue + "</b>").c_str(), "<b>", value.get(), "</b>",
                                  "", "", 0, szMessage));
  EXPECT_EQ(std::string(511, 'q'), value.Text());
  EXPECT_TRUE(value.GuardIntact());
}

}  // namespace
