// A test program's own nothrow allocation functions (link tarvelo_seam_nothrow_new): the
// replaceable `new (std::nothrow)` forms, which fail on demand. This is how tests make the
// program's own heap blocks fail.
#pragma once

#include <cstddef>

namespace tarvelo_test {

// The next `count` nothrow array allocations (new (std::nothrow) T[n]) of the calling thread
// return null; 0 ends a failure run. Returns how many failures of the earlier run were left.
int FailNextNothrowArrays(int count);
// The same for single objects (new (std::nothrow) T) of `bytes` bytes; 0 bytes: of any size.
int FailNextNothrowObjects(int count, std::size_t bytes = 0);

}  // namespace tarvelo_test
