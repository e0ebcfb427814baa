#include "base/memory.h"

#include <cstdlib>

void* GrowBlock(void* p, size_t cb) {
    return std::realloc(p, cb != 0 ? cb : 1);
}

void FreeBlock(void* p) {
    std::free(p);
}
