#include "interop/variant_raising.h"

#include "interop/com_error.h"

void VariantCopyOrRaise(VARIANT* dest, const VARIANT* src) {
  const HRESULT hr = VariantCopy(dest, src);
  if (FAILED(hr)) RaiseComError(hr);
}

void VariantClearOrRaise(VARIANT* variant) {
  const HRESULT hr = VariantClear(variant);
  if (FAILED(hr)) RaiseComError(hr);
}
