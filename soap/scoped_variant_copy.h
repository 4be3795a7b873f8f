// A deep copy of a variant that lives for one call.
//
// Made with the raising variant copy into a freshly initialised variant. Clear() clears it
// with the raising variant clear right after the call that used it; should an exception pass
// before that, the destructor clears it quietly, so the copy is never lost.
#pragma once

#include "interop/variant_raising.h"
#include "ole2.h"

class ScopedVariantCopy {
 public:
  explicit ScopedVariantCopy(const VARIANT& source) {
    VariantInit(&m_copy);
    VariantCopyOrRaise(&m_copy, &source);
  }
  ScopedVariantCopy(const ScopedVariantCopy&) = delete;
  ScopedVariantCopy& operator=(const ScopedVariantCopy&) = delete;
  ~ScopedVariantCopy() { VariantClear(&m_copy); }

  const VARIANT& get() const { return m_copy; }
  void Clear() { VariantClearOrRaise(&m_copy); }

 private:
  VARIANT m_copy;
};
