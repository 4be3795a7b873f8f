// Atomic increment and decrement of a 32-bit counter.
#include "windows.h"

LONG InterlockedIncrement(LONG volatile* lpAddend) {
  return __atomic_add_fetch(lpAddend, 1, __ATOMIC_SEQ_CST);
}

LONG InterlockedDecrement(LONG volatile* lpAddend) {
  return __atomic_sub_fetch(lpAddend, 1, __ATOMIC_SEQ_CST);
}
