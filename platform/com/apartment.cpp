// CoInitialize and CoUninitialize, counted per thread.
#include "apartment.h"

#include "objbase.h"

namespace {

thread_local unsigned t_initCount = 0;

}  // namespace

HRESULT CoInitialize(LPVOID /*pvReserved*/) {
  return t_initCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (t_initCount > 0) --t_initCount;  // one too many is harmless
}

namespace com_detail {

bool IsInitializedOnThisThread() {
  return t_initCount > 0;
}

}  // namespace com_detail
