// VARIANT: initialise, clear and copy for the kinds of value the stand-in knows.
#include <cstring>

#include "oleauto.h"

namespace {

bool IsKnownType(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_BSTR:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
      return true;
    default:
      return false;
  }
}

}  // namespace

void VariantInit(VARIANTARG* pvarg) {
  std::memset(static_cast<void*>(pvarg), 0, sizeof(*pvarg));
  pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg) {
  if (pvarg == nullptr) return E_INVALIDARG;
  if (!IsKnownType(pvarg->vt)) return DISP_E_BADVARTYPE;
  if (pvarg->vt == VT_BSTR) {
    SysFreeString(pvarg->bstrVal);
  } else if (pvarg->vt == VT_UNKNOWN && pvarg->punkVal != nullptr) {
    pvarg->punkVal->Release();
  }
  VariantInit(pvarg);
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
  if (pvargDest == nullptr || pvargSrc == nullptr) return E_INVALIDARG;
  if (!IsKnownType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  if (pvargDest == pvargSrc) return S_OK;  // clearing first would destroy the source
  const HRESULT cleared = VariantClear(pvargDest);
  if (FAILED(cleared)) return cleared;

  VARIANT copy = *pvargSrc;
  if (copy.vt == VT_BSTR && copy.bstrVal != nullptr) {
    // Byte for byte, so that a string with an odd byte length or embedded NULs stays the same.
    copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(pvargSrc->bstrVal),
                                         SysStringByteLen(pvargSrc->bstrVal));
    if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;  // the destination stays VT_EMPTY
  } else if (copy.vt == VT_UNKNOWN && copy.punkVal != nullptr) {
    copy.punkVal->AddRef();
  }
  *pvargDest = copy;
  return S_OK;
}
