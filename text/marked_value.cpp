#include "text/marked_value.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "text/trim.h"

int g_nSearchPos = 0;

namespace {

constexpr int kMarkerSize = 64;

const char kGroupParams[] = "Error group params ?";
const char kGroupBeginNotFound[] = "Error begin group value not found ?";
const char kGroupEndNotFound[] = "Error end group value not found ?";
const char kSearchParams[] = "Error search params ?";
const char kBeginNotFound[] = "Error begin search params not found ?";
const char kEndNotFound[] = "Error search end params not found ?";

static_assert(sizeof kBeginNotFound == kMarkedValueMessageSize, "the longest message must fit");

// The function's own copy of a marker: cut to 63 characters, so the working buffer never
// overflows, then normalised in place.
class WorkingMarker {
 public:
  explicit WorkingMarker(const char* pszMarker) {
    m_sz[0] = '\0';
    if (pszMarker) {
      std::strncpy(m_sz, pszMarker, kMarkerSize - 1);
      m_sz[kMarkerSize - 1] = '\0';
    }
  }

  // Trims the copy; true when it still holds a marker.
  bool Normalise() { return IsBlankText(m_sz) == 0; }

  const char* Text() const { return m_sz; }
  int Length() const { return static_cast<int>(std::strlen(m_sz)); }

 private:
  char m_sz[kMarkerSize];
};

int Fail(const char* pszText, char* pszMessage) {
  std::memcpy(pszMessage, pszText, std::strlen(pszText) + 1);
  return 0;
}

}  // namespace

int ExtractMarkedValue(CString strSource, const char* pszBegin, char* pszValue, const char* pszEnd,
                       const char* pszGroupBegin, const char* pszGroupEnd, int nMode,
                       char* pszMessage, int nValueSize) {
  assert(pszValue && pszMessage && nValueSize > 0);
  if (nValueSize > 0) pszValue[0] = '\0';
  pszMessage[0] = '\0';

  WorkingMarker begin(pszBegin);
  WorkingMarker end(pszEnd);
  WorkingMarker groupBegin(pszGroupBegin);
  WorkingMarker groupEnd(pszGroupEnd);

  // Where the group's end marker starts; a search without a group is not bounded.
  int nLimit = -1;

  if (nMode == 0 || nMode == -1) g_nSearchPos = 0;
  if (nMode == -1) {
    if (!groupBegin.Normalise() || !groupEnd.Normalise()) return Fail(kGroupParams, pszMessage);
    const int nGroup = strSource.Find(groupBegin.Text(), 0);
    if (nGroup < 0) return Fail(kGroupBeginNotFound, pszMessage);
    g_nSearchPos = nGroup + groupBegin.Length();
    nLimit = strSource.Find(groupEnd.Text(), g_nSearchPos);
    if (nLimit < 0) return Fail(kGroupEndNotFound, pszMessage);
  }

  if (!begin.Normalise() || !end.Normalise()) return Fail(kSearchParams, pszMessage);

  // Inside a group the value and both its markers must end before the group's end marker
  // starts. A begin marker beyond that is not found; an end marker beyond it is not found
  // either. The bound holds for this call only: a continuing call has no group and runs on
  // through the rest of the text.
  const int nBegin = strSource.Find(begin.Text(), g_nSearchPos);
  if (nBegin < 0 || (nLimit >= 0 && nBegin + begin.Length() > nLimit)) {
    return Fail(kBeginNotFound, pszMessage);
  }
  g_nSearchPos = nBegin + begin.Length();
  const int nEnd = strSource.Find(end.Text(), g_nSearchPos);
  if (nEnd < 0 || (nLimit >= 0 && nEnd + end.Length() > nLimit)) {
    return Fail(kEndNotFound, pszMessage);
  }

  // A value longer than the buffer is cut to nValueSize-1 characters: it is still the value
  // found, and the caller's buffer is never overrun.
  if (nValueSize > 0) {
    const int nCount = std::min(nEnd - g_nSearchPos, nValueSize - 1);
    std::memcpy(pszValue, static_cast<const char*>(strSource) + g_nSearchPos,
                static_cast<std::size_t>(nCount));
    pszValue[nCount] = '\0';
  }

  g_nSearchPos = nEnd + end.Length();
  return 1;
}
