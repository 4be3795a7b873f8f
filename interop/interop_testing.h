// Test hooks of the interop. Not for the program.
#pragma once

enum class InteropAllocation {
  kStringBody,  // the shared body of a CountedWideString
  kTextBuffer,  // the ANSI array of BstrToAnsi, the UTF-16 buffer of AnsiToBstr for long texts
};

// Makes the next `count` allocations of that kind on the calling thread fail, as when memory
// runs out. 0 ends a failure run that has not been used up.
void FailNextInteropAllocations(InteropAllocation kind, int count);
