#include "cstring.h"

#include <gtest/gtest.h>

TEST(CString, NullAndEmptyConstructionGiveTheEmptyText) {
  EXPECT_EQ(0, CString().GetLength());
  EXPECT_EQ(0, CString(static_cast<const char*>(nullptr)).GetLength());
  CString s("x");
  s = static_cast<const char*>(nullptr);
  EXPECT_STREQ("", static_cast<const char*>(s));
}

TEST(CString, CopiesOwnTheirBytes) {
  CString a("abc");
  CString b(a);
  b += "d";
  EXPECT_EQ(a, "abc");
  EXPECT_EQ(b, "abcd");
  EXPECT_EQ(4, b.GetLength());
}

TEST(CString, ConcatenationKeepsHighBytes) {
  const CString s = CString("a\xE8") + "\x8A" + CString("z");
  EXPECT_EQ(4, s.GetLength());
  EXPECT_EQ(s, "a\xE8\x8Az");
}

TEST(CString, FindFromAPosition) {
  const CString s("abcabc");
  EXPECT_EQ(1, s.Find("bc"));
  EXPECT_EQ(4, s.Find("bc", 2));
  EXPECT_EQ(-1, s.Find("bc", 5));
  EXPECT_EQ(-1, s.Find("bc", 6));
  EXPECT_EQ(-1, s.Find("bc", 100));
  EXPECT_EQ(-1, s.Find("bc", -1));
}

TEST(CString, SubstringsAreClampedToTheText) {
  const CString s("Hello world");
  EXPECT_EQ(s.Mid(6), "world");
  EXPECT_EQ(s.Mid(6, 3), "wor");
  EXPECT_EQ(s.Mid(6, 100), "world");
  EXPECT_EQ(s.Mid(100), "");
  EXPECT_EQ(s.Mid(-3, 2), "He");
}

TEST(CString, ComparisonIsByteWise) {
  EXPECT_TRUE(CString("Hello") == "Hello");
  EXPECT_TRUE(CString("hello") != "Hello");
  EXPECT_LT(CString("a").Compare("b"), 0);
}
