// Runs in a process of its own: the search position is where program start left it.
#include <gtest/gtest.h>

#include "text/marked_value.h"

namespace {

TEST(ExtractMarkedValueAtProgramStart, AContinuingFirstCallSearchesFromTheStart) {
  char szValue[512];
  char szMessage[kMarkedValueMessageSize];
  EXPECT_EQ(1, ExtractMarkedValue("<b>1</b>", "<b>", szValue, "</b>", "", "", 1, szMessage));
  EXPECT_STREQ("1", szValue);
}

}  // namespace
