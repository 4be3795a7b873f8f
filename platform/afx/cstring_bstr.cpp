// CString::AllocSysString: the text as a new BSTR, converted from the ANSI code page.
#include "afxexcept.h"
#include "cstring.h"

BSTR CString::AllocSysString() const {
  const int byteCount = GetLength();
  // An empty text converts to nothing (the conversion refuses a length of 0): an empty BSTR.
  const int unitCount =
      byteCount == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, m_text.data(), byteCount, nullptr, 0);
  BSTR bstr = SysAllocStringLen(nullptr, static_cast<UINT>(unitCount));
  if (bstr == nullptr) AfxThrowMemoryException();
  if (unitCount > 0) MultiByteToWideChar(CP_ACP, 0, m_text.data(), byteCount, bstr, unitCount);
  return bstr;
}
