// The trimming functions work through a temporary heap copy. This program replaces the array
// allocation functions so that a test can make the next allocation fail and see what the text
// looks like afterwards. Every array form goes to malloc/free so that allocation and release
// always pair up, under the sanitizers as well.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "text/guarded_text.h"
#include "text/trim.h"

namespace {
int g_nFailNext = 0;  // allocations still to refuse
}  // namespace

void* operator new[](std::size_t nSize, const std::nothrow_t&) noexcept {
  if (g_nFailNext > 0) {
    --g_nFailNext;
    return nullptr;
  }
  return std::malloc(nSize == 0 ? 1 : nSize);
}

void* operator new[](std::size_t nSize) {
  void* p = std::malloc(nSize == 0 ? 1 : nSize);
  if (!p) throw std::bad_alloc();
  return p;
}

void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

namespace {

struct FailedCopyCase {
  const char* pszName;
  const char* pszInput;
  void (*pfnTrim)(char*);
  const char* pszExpected;
};

TEST(TrimmingWithoutMemory, KeepsWhatWasDoneBeforeTheCopyWasNeeded) {
  const FailedCopyCase cases[] = {
      {"TrimWhitespace mode 0 leaves the text unchanged", " \t a \t ",
       [](char* psz) { TrimWhitespace(psz, 0); }, " \t a \t "},
      {"TrimWhitespace mode 1 leaves the text unchanged", "a  ",
       [](char* psz) { TrimWhitespace(psz, 1); }, "a  "},
      {"TrimText A has removed the line end and the trailing blanks", "  a  \r\n",
       [](char* psz) { TrimText(psz, "A"); }, "  a"},
      {"TrimText L leaves the text unchanged", "  a ", [](char* psz) { TrimText(psz, "L"); },
       "  a "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszName);
    GuardedBuffer text = GuardedBuffer::Holding(c.pszInput);
    g_nFailNext = 1;
    c.pfnTrim(text.get());
    EXPECT_EQ(0, g_nFailNext) << "the copy was never asked for";
    g_nFailNext = 0;
    EXPECT_EQ(c.pszExpected, text.Text());
    EXPECT_TRUE(text.GuardIntact());
  }
}

TEST(TrimmingWithoutMemory, TrimsNormallyOnceMemoryIsBack) {
  GuardedBuffer text = GuardedBuffer::Holding("  a  \r\n");
  g_nFailNext = 1;
  TrimText(text.get(), "A");
  TrimText(text.get(), "A");
  EXPECT_EQ("a", text.Text());
}

}  // namespace
