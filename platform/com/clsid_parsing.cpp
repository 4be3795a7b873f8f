// CLSIDFromString and CLSIDFromProgID.
#include "class_registry.h"
#include "objbase.h"

namespace {

int HexValue(OLECHAR c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads `digits` hex digits at text[*pos] into *value and moves past them.
template <typename T>
bool ReadHex(LPCOLESTR text, int* pos, int digits, T* value) {
  unsigned long long result = 0;
  for (int i = 0; i < digits; ++i) {
    const int digit = HexValue(text[*pos]);
    if (digit < 0) return false;  // also stops at the terminator
    result = (result << 4) | static_cast<unsigned>(digit);
    ++*pos;
  }
  *value = static_cast<T>(result);
  return true;
}

bool ReadChar(LPCOLESTR text, int* pos, OLECHAR expected) {
  if (text[*pos] != expected) return false;
  ++*pos;
  return true;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" and nothing after it.
bool ParseGuid(LPCOLESTR text, GUID* guid) {
  int pos = 0;
  if (!ReadChar(text, &pos, u'{') || !ReadHex(text, &pos, 8, &guid->Data1) ||
      !ReadChar(text, &pos, u'-') || !ReadHex(text, &pos, 4, &guid->Data2) ||
      !ReadChar(text, &pos, u'-') || !ReadHex(text, &pos, 4, &guid->Data3) ||
      !ReadChar(text, &pos, u'-') || !ReadHex(text, &pos, 2, &guid->Data4[0]) ||
      !ReadHex(text, &pos, 2, &guid->Data4[1]) || !ReadChar(text, &pos, u'-'))
    return false;
  for (int i = 2; i < 8; ++i)
    if (!ReadHex(text, &pos, 2, &guid->Data4[i])) return false;
  return ReadChar(text, &pos, u'}') && text[pos] == 0;
}

}  // namespace

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
  if (pclsid == nullptr) return E_INVALIDARG;
  *pclsid = CLSID{};
  if (lpsz == nullptr) return S_OK;  // no text names the null CLSID
  CLSID parsed{};
  if (!ParseGuid(lpsz, &parsed)) return CO_E_CLASSSTRING;
  *pclsid = parsed;
  return S_OK;
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
  if (lpszProgID == nullptr || lpclsid == nullptr) return E_INVALIDARG;
  *lpclsid = CLSID{};
  return com_detail::FindClassByProgID(lpszProgID, lpclsid) ? S_OK : CO_E_CLASSSTRING;
}
