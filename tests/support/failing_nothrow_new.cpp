#include "support/failing_nothrow_new.h"

#include <new>

namespace {

thread_local int t_arrayFailures = 0;
thread_local int t_objectFailures = 0;
thread_local std::size_t t_objectBytes = 0;

int Replace(int& failures, int count) {
  const int left = failures;
  failures = count < 0 ? 0 : count;
  return left;
}

}  // namespace

int tarvelo_test::FailNextNothrowArrays(int count) {
  return Replace(t_arrayFailures, count);
}

int tarvelo_test::FailNextNothrowObjects(int count, std::size_t bytes) {
  t_objectBytes = bytes;
  return Replace(t_objectFailures, count);
}

// The allocations that succeed come from the ordinary forms, so that every block is released
// the way it was made (delete and delete[]), under the sanitizers as well.
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
  if (t_objectFailures > 0 && (t_objectBytes == 0 || t_objectBytes == bytes)) {
    --t_objectFailures;
    return nullptr;
  }
  try {
    return ::operator new(bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
  if (t_arrayFailures > 0) {
    --t_arrayFailures;
    return nullptr;
  }
  try {
    return ::operator new[](bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
