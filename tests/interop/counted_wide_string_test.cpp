// CountedWideString: making, sharing and releasing bodies, and the lazy ANSI copy.
#include "interop/counted_wide_string.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <utility>

#include "raised_code.h"
#include "support/counted_bstr_memory.h"
#include "support/failing_nothrow_new.h"

namespace {

// The ANSI copy is an array. This program's array forms of new and delete do what the library's
// do (they use the single-object forms) and note when the watched array is released.
const void* g_watchedArray = nullptr;
bool g_bWatchedArrayReleased = false;

}  // namespace

void* operator new[](std::size_t bytes) {
  return ::operator new(bytes);
}

void operator delete[](void* block) noexcept {
  if (block != nullptr && block == g_watchedArray) g_bWatchedArrayReleased = true;
  ::operator delete(block);
}

void operator delete[](void* block, std::size_t) noexcept {
  operator delete[](block);
}

namespace {

// Counts the strings alive when the test starts; every test must end where it began.
class CountedWideStringTest : public ::testing::Test {
 protected:
  long Made() const { return LiveBstrCount() - m_before; }
  ~CountedWideStringTest() override { EXPECT_EQ(m_before, LiveBstrCount()); }

 private:
  long m_before = LiveBstrCount();
};

TEST_F(CountedWideStringTest, MadeFromAnsiTextOrTakingOverAString) {
  const CountedWideString text("POST");
  EXPECT_EQ(u"POST", TextOf(text.WideText()));
  EXPECT_EQ(std::string("POST"), text.AnsiText());
  const BSTR reply = SysAllocString(u"<reply/>");
  const CountedWideString attached = CountedWideString::Attach(reply);
  EXPECT_EQ(reply, attached.WideText());  // the very string, which the body frees
  // A null text makes a body without text, not an empty holder.
  for (const CountedWideString& holder :
       {CountedWideString(), CountedWideString(nullptr), CountedWideString::Attach(nullptr)}) {
    EXPECT_EQ(nullptr, holder.WideText());
    EXPECT_EQ(nullptr, holder.AnsiText());
  }
  EXPECT_EQ(2, Made());
}

TEST_F(CountedWideStringTest, WhatCannotBeMadeRaisesAndLeavesNothingBehind) {
  CountedWideString method("GET");
  tarvelo_test::FailNextNothrowObjects(1, sizeof(WideStringBody));
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([&] { method = CountedWideString(nullptr); }));
  FailNextBstrAllocations(1);
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([&] { method = CountedWideString("POST"); }));
  tarvelo_test::FailNextNothrowObjects(1, sizeof(WideStringBody));
  const BSTR reply = SysAllocString(u"<reply/>");  // freed when no body can take it over
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([&] { CountedWideString::Attach(reply); }));
  EXPECT_EQ(u"GET", TextOf(method.WideText()));
  EXPECT_EQ(1, Made());
}

// Copies, assignments and moves share one body, which the last release frees, whichever
// handle makes it.
TEST_F(CountedWideStringTest, HandlesShareOneBodyThatTheLastReleaseFrees) {
  CountedWideString first("shared");
  CountedWideString second(first);
  CountedWideString third("other");
  third = second;  // "other" had no other handle
  third = third;   // NOLINT: assigning a holder to itself keeps the body
  EXPECT_EQ(first.WideText(), third.WideText());
  EXPECT_EQ(1, Made());
  CountedWideString moved(std::move(second));
  first.Release();
  third = CountedWideString();
  EXPECT_EQ(u"shared", TextOf(moved.WideText()));
  moved = CountedWideString("last");
  EXPECT_EQ(1, Made());
}

TEST_F(CountedWideStringTest, TheAnsiCopyIsMadeOncePerBodyAndGoesWithIt) {
  {
    CountedWideString first("once");
    const CountedWideString second(first);
    tarvelo_test::FailNextNothrowArrays(1);
    EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([&] { first.AnsiText(); }));
    g_watchedArray = first.AnsiText();
    EXPECT_EQ(g_watchedArray, second.AnsiText());
    first.Release();
    EXPECT_FALSE(g_bWatchedArrayReleased);
  }
  EXPECT_TRUE(g_bWatchedArrayReleased) << "the body went without its ANSI copy";
  g_watchedArray = nullptr;
}

}  // namespace
