// Runs in a process of its own: the search position is where program start left it.
#include <gtest/gtest.h>

#include "text/marked_value.h"

namespace {

TEST(ExtractMarkedValueAtProgramStart, AContinuingFirstCallSearchesFromTheStart) {
  EXPECT_EQ(0, g_nSearchPos);
  char szValue[512];
  char szMessage[kMarkedValueMessageSize];
  ASSERT_EQ(1,
            ExtractMarkedValue("<b>1</b><b>2</b>", "<b>", szValue, "</b>", "", "", 1, szMessage));
  EXPECT_STREQ("1", szValue);
  ASSERT_EQ(1,
            ExtractMarkedValue("<b>1</b><b>2</b>", "<b>", szValue, "</b>", "", "", 1, szMessage));
  EXPECT_STREQ("2", szValue);
}

}  // namespace
