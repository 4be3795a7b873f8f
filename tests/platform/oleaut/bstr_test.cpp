// BSTR: its layout, allocation, lengths and the injected allocation failures.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "oleauto.h"
#include "support/counted_bstr_memory.h"

namespace {

std::uint32_t StoredByteLength(BSTR bstr) {
  std::uint32_t length = 0;
  std::memcpy(&length, reinterpret_cast<const char*>(bstr) - sizeof(length), sizeof(length));
  return length;
}

TEST(Bstr, HasAByteLengthPrefixAndANulAfterTheText) {
  const BSTR bstr = SysAllocString(u"Hello");
  ASSERT_NE(nullptr, bstr);
  EXPECT_EQ(10u, StoredByteLength(bstr));
  EXPECT_EQ(5u, SysStringLen(bstr));
  EXPECT_EQ(10u, SysStringByteLen(bstr));
  EXPECT_EQ(std::u16string(u"Hello"), std::u16string(bstr, 5));
  EXPECT_EQ(u'\0', bstr[5]);
  SysFreeString(bstr);
}

TEST(Bstr, AllocationsOfEachKind) {
  const struct {
    const char* name;
    BSTR bstr;
    std::u16string text;  // the whole stored text, NULs included
  } cases[] = {
      {"empty text", SysAllocString(u""), u""},
      {"stops at the first NUL", SysAllocString(u"ab\0cd"), u"ab"},
      {"counted copy keeps NULs", SysAllocStringLen(u"ab\0cd", 5), std::u16string(u"ab\0cd", 5)},
      {"counted copy takes a prefix", SysAllocStringLen(u"abcdef", 3), u"abc"},
      {"room only is zeroed", SysAllocStringLen(nullptr, 4), std::u16string(4, u'\0')},
      {"zero units", SysAllocStringLen(nullptr, 0), u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(nullptr, c.bstr);
    EXPECT_EQ(c.text.size(), SysStringLen(c.bstr));
    EXPECT_EQ(c.text, std::u16string(c.bstr, SysStringLen(c.bstr)));
    EXPECT_EQ(u'\0', c.bstr[c.text.size()]);
    SysFreeString(c.bstr);
  }
}

TEST(Bstr, ByteLengthsNeedNotBeEven) {
  const BSTR bstr = SysAllocStringByteLen("abc", 3);
  ASSERT_NE(nullptr, bstr);
  EXPECT_EQ(3u, SysStringByteLen(bstr));
  EXPECT_EQ(1u, SysStringLen(bstr));
  EXPECT_EQ(0, std::memcmp(bstr, "abc", 3));
  EXPECT_EQ(0, reinterpret_cast<const char*>(bstr)[3]);
  EXPECT_EQ(0, reinterpret_cast<const char*>(bstr)[4]);
  SysFreeString(bstr);
}

TEST(Bstr, NullIsAcceptedWhereTheContractSaysSo) {
  EXPECT_EQ(nullptr, SysAllocString(nullptr));
  EXPECT_EQ(0u, SysStringLen(nullptr));
  EXPECT_EQ(0u, SysStringByteLen(nullptr));
  SysFreeString(nullptr);
}

TEST(Bstr, LiveCountFollowsAllocationAndFree) {
  const long before = LiveBstrCount();
  const BSTR a = SysAllocString(u"a");
  const BSTR b = SysAllocStringLen(u"b", 1);
  EXPECT_EQ(before + 2, LiveBstrCount());
  SysFreeString(a);
  SysFreeString(nullptr);
  EXPECT_EQ(before + 1, LiveBstrCount());
  SysFreeString(b);
  EXPECT_EQ(before, LiveBstrCount());
}

TEST(Bstr, InjectedFailuresHitTheNextAllocationsOnly) {
  const long before = LiveBstrCount();
  FailNextBstrAllocations(2);
  EXPECT_EQ(nullptr, SysAllocString(u"x"));
  EXPECT_EQ(nullptr, SysAllocStringLen(u"x", 1));
  const BSTR third = SysAllocString(u"x");
  EXPECT_NE(nullptr, third);
  SysFreeString(third);

  FailNextBstrAllocations(5);
  FailNextBstrAllocations(0);  // called off
  const BSTR afterReset = SysAllocStringByteLen("xy", 2);
  EXPECT_NE(nullptr, afterReset);
  SysFreeString(afterReset);
  EXPECT_EQ(before, LiveBstrCount());
}

TEST(Bstr, AnImpossibleLengthGivesNull) {
  EXPECT_EQ(nullptr, SysAllocStringLen(nullptr, 0x7FFFFFFFu));
  EXPECT_EQ(nullptr, SysAllocStringByteLen(nullptr, 0xFFFFFFFFu));
}

}  // namespace
