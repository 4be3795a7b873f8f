// CountedWideString: making, sharing and releasing bodies, and the lazy ANSI copy.
#include "interop/counted_wide_string.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "default_text.h"
#include "interop/com_error.h"
#include "raised_code.h"
#include "support/ansi_code_page.h"
#include "support/counted_bstr_memory.h"
#include "support/failing_nothrow_new.h"

namespace {

// Counts the strings alive when the test starts; every test must end where it began.
class CountedWideStringTest : public ::testing::Test {
 protected:
  long Made() const { return LiveBstrCount() - m_before; }
  ~CountedWideStringTest() override { EXPECT_EQ(m_before, LiveBstrCount()); }

 private:
  long m_before = LiveBstrCount();
};

TEST_F(CountedWideStringTest, AnEmptyHolderHasNothing) {
  CountedWideString empty;
  EXPECT_EQ(nullptr, empty.WideText());
  EXPECT_EQ(nullptr, empty.AnsiText());
  empty.Release();
  empty.Release();
  EXPECT_EQ(nullptr, empty.WideText());
  EXPECT_EQ(0, Made());
}

TEST_F(CountedWideStringTest, FromAnsiTextHoldsItInUtf16) {
  const tarvelo_test::ScopedAnsiCodePage centralEuropean(1250);
  const CountedWideString text(kDefaultText.c_str());
  ASSERT_NE(nullptr, text.WideText());
  EXPECT_EQ(kDefaultTextWide, TextOf(text.WideText()));
  EXPECT_EQ(kDefaultText, std::string(text.AnsiText()));
  EXPECT_EQ(1, Made());
}

TEST_F(CountedWideStringTest, FromNullTextIsABodyWithoutText) {
  CountedWideString holder(nullptr);
  EXPECT_EQ(nullptr, holder.WideText());
  EXPECT_EQ(nullptr, holder.AnsiText());
  holder.Release();  // frees the body (the leak check would see it otherwise)
  // A body is made even for null text, so a body that cannot be had is a failure here too.
  tarvelo_test::FailNextNothrowObjects(1, sizeof(WideStringBody));
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([] { CountedWideString failed(nullptr); }));
}

TEST_F(CountedWideStringTest, FromAnsiRaisesOutOfMemoryForTheBodyOrTheString) {
  tarvelo_test::FailNextNothrowObjects(1, sizeof(WideStringBody));
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([] { CountedWideString failed("POST"); }));
  FailNextBstrAllocations(1);
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([] { CountedWideString failed("POST"); }));
  EXPECT_EQ(0, Made());
}

TEST_F(CountedWideStringTest, AFailedConstructionLeavesTheTargetWithItsOldBody) {
  CountedWideString method("GET");
  FailNextBstrAllocations(1);
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([&] { method = CountedWideString("POST"); }));
  EXPECT_EQ(u"GET", TextOf(method.WideText()));
}

TEST_F(CountedWideStringTest, AConversionFailureIsRaisedAndTheBodyGivenBack) {
  const tarvelo_test::ScopedAnsiCodePage unknown(9999);
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER),
            CodeRaisedBy([] { CountedWideString failed("POST"); }));
}

TEST_F(CountedWideStringTest, AttachTakesOverTheVeryString) {
  const BSTR reply = SysAllocString(u"<reply/>");
  {
    const CountedWideString holder = CountedWideString::Attach(reply);
    EXPECT_EQ(reply, holder.WideText());
    EXPECT_EQ(std::string("<reply/>"), holder.AnsiText());
    EXPECT_EQ(1, Made());
  }
  EXPECT_EQ(0, Made());  // the holder freed it
}

TEST_F(CountedWideStringTest, AttachOfNullIsABodyWithoutText) {
  CountedWideString holder = CountedWideString::Attach(nullptr);
  EXPECT_EQ(nullptr, holder.WideText());
  EXPECT_EQ(nullptr, holder.AnsiText());
}

TEST_F(CountedWideStringTest, AttachFreesTheStringWhenTheBodyCannotBeHad) {
  const BSTR reply = SysAllocString(u"<reply/>");
  tarvelo_test::FailNextNothrowObjects(1, sizeof(WideStringBody));
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([&] { CountedWideString::Attach(reply); }));
  EXPECT_EQ(0, Made());
}

TEST_F(CountedWideStringTest, CopiesShareOneBodyFreedByTheLastRelease) {
  CountedWideString first("shared");
  CountedWideString second(first);
  CountedWideString third;
  third = second;
  EXPECT_EQ(first.WideText(), second.WideText());
  EXPECT_EQ(first.WideText(), third.WideText());
  EXPECT_EQ(1, Made());  // no text was copied

  second.Release();
  EXPECT_EQ(nullptr, second.WideText());
  third.Release();
  EXPECT_EQ(1, Made());
  EXPECT_EQ(u"shared", TextOf(first.WideText()));
  EXPECT_EQ(std::string("shared"), first.AnsiText());
  first.Release();
  EXPECT_EQ(0, Made());
}

TEST_F(CountedWideStringTest, AssignmentReleasesTheBodyItHeld) {
  CountedWideString method("GET");
  CountedWideString other("POST");
  EXPECT_EQ(2, Made());
  method = other;
  EXPECT_EQ(1, Made());  // "GET" had no other handle
  EXPECT_EQ(u"POST", TextOf(method.WideText()));
  method = CountedWideString();
  EXPECT_EQ(nullptr, method.WideText());
  EXPECT_EQ(u"POST", TextOf(other.WideText()));
}

TEST_F(CountedWideStringTest, AssigningToItselfOrAnotherHandleOfTheBodyKeepsIt) {
  CountedWideString holder("self");
  CountedWideString& alias = holder;
  holder = alias;
  EXPECT_EQ(u"self", TextOf(holder.WideText()));
  CountedWideString copy(holder);
  holder = copy;
  copy = holder;
  copy.Release();
  EXPECT_EQ(u"self", TextOf(holder.WideText()));
  EXPECT_EQ(1, Made());
}

TEST_F(CountedWideStringTest, MovingHandsTheBodyOver) {
  CountedWideString source("moved");
  const BSTR text = source.WideText();
  CountedWideString target(std::move(source));
  EXPECT_EQ(nullptr, source.WideText());  // NOLINT: the moved-from holder is empty
  EXPECT_EQ(text, target.WideText());
  CountedWideString other("other");
  other = std::move(target);
  EXPECT_EQ(text, other.WideText());
  EXPECT_EQ(1, Made());
}

TEST_F(CountedWideStringTest, TheAnsiCopyIsMadeOncePerBody) {
  const CountedWideString first("once");
  const CountedWideString second(first);
  const char* const made = first.AnsiText();
  ASSERT_NE(nullptr, made);
  EXPECT_EQ(made, first.AnsiText());
  EXPECT_EQ(made, second.AnsiText());
  // No second conversion happens: a failure of the next text buffer would raise if it did.
  tarvelo_test::FailNextNothrowArrays(1);
  EXPECT_EQ(made, second.AnsiText());
  tarvelo_test::FailNextNothrowArrays(0);
  // Another body with the same text has an ANSI copy of its own.
  const CountedWideString third("once");
  EXPECT_NE(made, third.AnsiText());
}

TEST_F(CountedWideStringTest, AnsiTextRaisesWhenItCannotBeMadeAndWorksLater) {
  const CountedWideString holder("later");
  tarvelo_test::FailNextNothrowArrays(1);
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([&] { holder.AnsiText(); }));
  EXPECT_EQ(std::string("later"), holder.AnsiText());
}

TEST_F(CountedWideStringTest, AnsiTextConvertsInTheCodePageOfTheMoment) {
  CountedWideString holder;
  {
    const tarvelo_test::ScopedAnsiCodePage centralEuropean(1250);
    holder = CountedWideString(kDefaultText.c_str());
  }
  {
    const tarvelo_test::ScopedAnsiCodePage unknown(9999);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER),
              CodeRaisedBy([&] { holder.AnsiText(); }));
  }
  const tarvelo_test::ScopedAnsiCodePage western(1252);
  EXPECT_EQ(std::string("added string to hello and check code page (??\x9E?\x9A??\x8E?\x8A)"),
            std::string(holder.AnsiText()));
}

TEST_F(CountedWideStringTest, CopiesOnManyThreadsFreeTheBodyOnce) {
  CountedWideString* original = new CountedWideString("threads");
  constexpr int kThreads = 4;
  constexpr int kRounds = 20000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([copy = *original] {
      for (int i = 0; i < kRounds; ++i) {
        CountedWideString more(copy);
        CountedWideString again;
        again = more;
      }
    });
  delete original;  // the threads' copies keep the body alive
  EXPECT_EQ(1, Made());
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(0, Made());
}

}  // namespace
