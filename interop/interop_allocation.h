// The heap blocks that the interop makes for itself, in one place so that tests can make them
// fail (interop/interop_testing.h).
#pragma once

#include <cstddef>

#include "oleauto.h"

struct WideStringBody;

namespace interop_detail {

// Null when the memory cannot be had.
WideStringBody* AllocateStringBody();
void FreeStringBody(WideStringBody* body);

// Arrays released with delete[]; null when the memory cannot be had.
char* AllocateAnsiBuffer(std::size_t bytes);
OLECHAR* AllocateWideBuffer(std::size_t units);

}  // namespace interop_detail
