#include "failing_memory.h"

#include <cstdlib>

#include "base/memory.h"

namespace {
long s_nCount = 0;
long s_nFailAt = -1;
}  // namespace

long AllocationCount() { return s_nCount; }
void FailAllocation(long nCount) { s_nFailAt = nCount; }

void* GrowBlock(void* p, size_t cb) {
    if (s_nCount++ == s_nFailAt) {
        return nullptr;
    }
    return std::realloc(p, cb != 0 ? cb : 1);
}

void FreeBlock(void* p) { std::free(p); }
