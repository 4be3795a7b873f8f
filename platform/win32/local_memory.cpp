// The local heap: fixed blocks from the C heap.
#include <cstdlib>

#include "windows.h"

HLOCAL LocalAlloc(UINT uFlags, std::size_t uBytes) {
  if ((uFlags & ~UINT{LMEM_ZEROINIT}) != LMEM_FIXED) {
    SetLastError(ERROR_INVALID_PARAMETER);  // movable blocks are not offered
    return nullptr;
  }
  // A request for 0 bytes still gives a block of its own, as the real heap does.
  const std::size_t size = uBytes == 0 ? 1 : uBytes;
  void* block = (uFlags & LMEM_ZEROINIT) != 0 ? std::calloc(1, size) : std::malloc(size);
  if (block == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return block;
}

HLOCAL LocalFree(HLOCAL hMem) {
  std::free(hMem);
  return nullptr;
}
