#include "interop/variant_raising.h"

#include "interop/com_error.h"

void VariantCopyOrRaise(VARIANT* dest, const VARIANT* src) {
  // VariantCopy only reads its source; mingw-w64's <oleauto.h> declares it without the const.
  const HRESULT hr = VariantCopy(dest, const_cast<VARIANT*>(src));
  if (FAILED(hr)) RaiseComError(hr);
}

void VariantClearOrRaise(VARIANT* variant) {
  const HRESULT hr = VariantClear(variant);
  if (FAILED(hr)) RaiseComError(hr);
}
