#include "text/trim.h"

#include <cassert>
#include <cstring>
#include <memory>
#include <new>

namespace {

bool IsBlankOrTab(char ch) {
  return ch == ' ' || ch == '\t';
}

// A heap copy of the text, or null when it cannot be allocated.
std::unique_ptr<char[]> CopyText(const char* pszText, std::size_t nLength) {
  std::unique_ptr<char[]> copy(new (std::nothrow) char[nLength + 1]);
  if (copy) std::memcpy(copy.get(), pszText, nLength + 1);
  return copy;
}

}  // namespace

void StripLineEnd(char* pszText) {
  assert(pszText);
  const std::size_t n = std::strlen(pszText);
  if (n >= 1 && pszText[n - 1] == '\n') {
    pszText[n - 1] = '\0';
    if (n >= 2 && pszText[n - 2] == '\r') pszText[n - 2] = '\0';
  }
}

void TrimWhitespace(char* pszText, int nMode) {
  assert(pszText);
  const bool bLeft = nMode == 0 || nMode == 2;
  const bool bRight = nMode == 0 || nMode == 1;
  if (!bLeft && !bRight) return;

  const std::size_t n = std::strlen(pszText);
  if (n == 0) return;
  const std::unique_ptr<char[]> copy = CopyText(pszText, n);
  if (!copy) return;

  std::size_t nFirst = 0;
  if (bLeft) {
    while (nFirst < n && IsBlankOrTab(copy[nFirst])) ++nFirst;
  }
  if (bRight) {
    // The whole trailing run goes, down to and including position 0.
    std::size_t nEnd = n;
    while (nEnd > nFirst && IsBlankOrTab(copy[nEnd - 1])) --nEnd;
    copy[nEnd] = '\0';
  }
  const char* pszKept = copy.get() + nFirst;
  std::memmove(pszText, pszKept, std::strlen(pszKept) + 1);
}

int IsBlankText(char* pszText) {
  if (!pszText) return 1;
  TrimWhitespace(pszText, 0);
  StripLineEnd(pszText);
  return pszText[0] == '\0' ? 1 : 0;
}

char* TrimText(char* pszText, const char* pszMode) {
  assert(pszText && pszMode);
  if (pszText[0] == '\0') return pszText;
  const char chMode = pszMode[0];

  if (chMode == 'A' || chMode == 'R') {
    StripLineEnd(pszText);
    std::size_t n = std::strlen(pszText);
    while (n > 0 && pszText[n - 1] == ' ') pszText[--n] = '\0';
    if (n == 0) return pszText;
  }

  if (chMode == 'A' || chMode == 'L') {
    const std::size_t n = std::strlen(pszText);
    const std::unique_ptr<char[]> copy = CopyText(pszText, n);
    if (!copy) return pszText;
    std::size_t nFirst = 0;
    while (nFirst < n && copy[nFirst] == ' ') ++nFirst;
    std::memcpy(pszText, copy.get() + nFirst, n - nFirst + 1);
  }
  return pszText;
}
