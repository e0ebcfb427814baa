// The program's containers take their memory from GrowBlock; in the native
// tests it comes from here, where any one allocation can be made to fail.
#pragma once

// Allocations asked for so far.
long AllocationCount();
// The allocation with this count fails; -1 lets every one succeed.
void FailAllocation(long nCount);
