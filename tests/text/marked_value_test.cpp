#include "text/marked_value.h"

#include <gtest/gtest.h>

#include <string>

#include "text/text_buffer.h"

namespace {

constexpr char kGroupParams[] = "Error group params ?";
constexpr char kGroupBeginNotFound[] = "Error begin group value not found ?";
constexpr char kGroupEndNotFound[] = "Error end group value not found ?";
constexpr char kSearchParams[] = "Error search params ?";
constexpr char kBeginNotFound[] = "Error begin search params not found ?";
constexpr char kEndNotFound[] = "Error search end params not found ?";

constexpr int kContinue = 1;
constexpr int kGroup = -1;

// One call and everything it is expected to leave behind, the search position included.
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

// Runs the call with dirty buffers of exactly the documented sizes.
void RunAndCheck(const Call& c) {
  SCOPED_TRACE(testing::PrintToString(std::string(c.pszSource)) + " mode " +
               std::to_string(c.nMode));
  std::string value(512, '?');
  std::string message(kMarkedValueMessageSize, '?');
  EXPECT_EQ(c.nResult, ExtractMarkedValue(c.pszSource, c.pszBegin, value.data(), c.pszEnd,
                                          c.pszGroupBegin, c.pszGroupEnd, c.nMode, message.data()));
  EXPECT_EQ(c.pszValue, TextIn(value));
  EXPECT_EQ(c.pszMessage, TextIn(message));
  EXPECT_EQ(c.nPosAfter, g_nSearchPos);
}

// Markers are searched without blanks and tabs at their ends and without a final line end.
TEST(ExtractMarkedValue, AFreshSearchTakesTheFirstValueBetweenTheMarkers) {
  const Call calls[] = {
      {"<b></b>", 0, 1, "", "", 7},
      {"</b><b>x</b>", 0, 1, "x", "", 12},  // an end marker before the begin one is passed
      {"|x|", 0, 1, "x", "", 3, "|", "|"},  // begin and end marker may be the same
      {"<b> a&amp;b\r\n</b>", 0, 1, " a&amp;b\r\n", "", 17},  // the value is not touched
      {"<b>x</b>", 0, 1, "x", "", 8, " \t<b>\t ", "</b>\r\n"},
      // Blanks in front of a line end are trimmed before the line end goes, so they stay.
      {"<b> x</b>", 0, 1, "x", "", 9, "<b> \r\n ", "</b>"},
  };
  for (const auto& c : calls) RunAndCheck(c);
}

TEST(ExtractMarkedValue, FailsWithTheMessageOfTheFirstMissingPiece) {
  const Call calls[] = {
      {"<b>x", 0, 0, "", kEndNotFound, 3},  // the position stays behind the begin marker
      {"x</b>", 0, 0, "", kBeginNotFound, 0},
      {"<b>x</b>", 0, 0, "", kSearchParams, 0, "<b>", " \r\n"},
      {"<g><b>x</b></g>", kGroup, 0, "", kGroupParams, 0, "", "", "<g>", " \t"},
      {"<b>x</b>", kGroup, 0, "", kGroupBeginNotFound, 0},
      {"</g><g><b>x</b>", kGroup, 0, "", kGroupEndNotFound, 7},  // the group end only before it
      {"<g>x</g>", kGroup, 0, "", kBeginNotFound, 3},
  };
  for (const auto& c : calls) RunAndCheck(c);
}

// The value and both its markers must end before the group's end marker starts.
TEST(ExtractMarkedValue, AGroupSearchLooksInsideTheGroupOnly) {
  const Call calls[] = {
      {"<b>y</b><g><b>x</b></g>", kGroup, 1, "x", "", 19},
      {"<g><b>x</b></g>", kGroup, 1, "x", "", 11, "<b>", "</b>", " <g>\r\n", "\t</g> "},
      {"<g></g><b>x</b>", kGroup, 0, "", kBeginNotFound, 3},
      {"<g><b></g>x</b>", kGroup, 0, "", kEndNotFound, 6},
  };
  for (const auto& c : calls) RunAndCheck(c);
}

// The search position carries from one call to the next.
TEST(ExtractMarkedValue, ContinuingCallsWalkOnFromWhereThePreviousCallStopped) {
  const char* const pszText = "<c>0</c><b>1<c>2</c><b>3</b>";
  const Call calls[] = {
      {pszText, 0, 0, "", kEndNotFound, 11, "<b>", "</e>"},
      {pszText, kContinue, 1, "2", "", 20, "<c>", "</c>"},  // behind the begin marker found
      {pszText, -2, 0, "", kBeginNotFound, 20, "<c>", "</c>"},
      {pszText, 7, 1, "3", "", 28},  // from the same place after a missing begin marker
      {"<b>4</b>", kContinue, 0, "", kBeginNotFound, 28},  // a text no longer than the position
      {pszText, kGroup, 0, "", kGroupBeginNotFound, 0},    // a failed group call starts over
  };
  for (const auto& c : calls) RunAndCheck(c);
}

TEST(ExtractMarkedValue, MarkersLongerThan63CharactersAreCutTo63) {
  const std::string strMarker(63, 'm');
  const std::string strLonger = strMarker + "-not-searched-for";
  const std::string strSource = strMarker + "v</b>";
  RunAndCheck({strSource.c_str(), 0, 1, "v", "", 68, strMarker.c_str(), "</b>"});
  RunAndCheck({strSource.c_str(), 0, 1, "v", "", 68, strLonger.c_str(), "</b>"});
}

// A value that does not fit is cut to what the buffer holds and still counts as found; the
// search goes on behind the whole value.
TEST(ExtractMarkedValue, AValueLongerThanItsBufferIsCutAndTerminated) {
  std::string value(8, '?');
  char szMessage[kMarkedValueMessageSize];
  EXPECT_EQ(1, ExtractMarkedValue("<b>0123456789</b>", "<b>", value.data(), "</b>", "", "", 0,
                                  szMessage, 8));
  EXPECT_EQ("0123456", TextIn(value));
  EXPECT_EQ(17, g_nSearchPos);
  const std::string strLong = "<b>" + std::string(600, 'v') + "</b>";  // the default: 512
  RunAndCheck({strLong.c_str(), 0, 1, std::string(511, 'v').c_str(), "", 607});
}

}  // namespace
