// The heap blocks behind BSTRs. Internal to platform/oleaut; the two functions are alone in
// their file, so that a test program may link an allocator of its own in their place.
#pragma once

#include <cstddef>

namespace oleaut_detail {

// Null when the memory cannot be had.
void* AllocateStringBlock(std::size_t bytes);
void FreeStringBlock(void* block);

}  // namespace oleaut_detail
