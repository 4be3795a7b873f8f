// A test program's own heap for BSTRs, in place of the platform's (link
// tarvelo_seam_bstr_memory): it counts the strings alive and fails allocations on demand.
#pragma once

// Makes the next `count` string allocations of the calling thread fail (SysAllocString,
// SysAllocStringLen, SysAllocStringByteLen and the copies that VariantCopy makes), as when
// memory runs out. 0 ends a failure run that has not been used up.
void FailNextBstrAllocations(int count);

// The number of strings allocated and not yet freed, over the whole process.
long LiveBstrCount();
