// Test hooks of the Automation stand-in. Not for the program.
#pragma once

#include "oleauto.h"

// Makes the next `count` string allocations of the calling thread fail (SysAllocString,
// SysAllocStringLen, SysAllocStringByteLen and the copies that VariantCopy makes), as when
// memory runs out. 0 ends a failure run that has not been used up.
void FailNextBstrAllocations(int count);

// The number of strings allocated and not yet freed, over the whole process.
long LiveBstrCount();
