#include "interop/interop_allocation.h"

#include <new>

#include "interop/counted_wide_string.h"
#include "interop/interop_testing.h"

namespace {

thread_local int t_bodyFailures = 0;
thread_local int t_textBufferFailures = 0;

// True when the caller is to behave as if the allocation had failed.
bool ConsumeFailure(int& failures) {
  if (failures == 0) return false;
  --failures;
  return true;
}

}  // namespace

void FailNextInteropAllocations(InteropAllocation kind, int count) {
  const int failures = count < 0 ? 0 : count;
  if (kind == InteropAllocation::kStringBody)
    t_bodyFailures = failures;
  else
    t_textBufferFailures = failures;
}

namespace interop_detail {

WideStringBody* AllocateStringBody() {
  if (ConsumeFailure(t_bodyFailures)) return nullptr;
  return new (std::nothrow) WideStringBody{};
}

void FreeStringBody(WideStringBody* body) {
  delete body;
}

char* AllocateAnsiBuffer(std::size_t bytes) {
  if (ConsumeFailure(t_textBufferFailures)) return nullptr;
  return new (std::nothrow) char[bytes];
}

OLECHAR* AllocateWideBuffer(std::size_t units) {
  if (ConsumeFailure(t_textBufferFailures)) return nullptr;
  return new (std::nothrow) OLECHAR[units];
}

}  // namespace interop_detail
