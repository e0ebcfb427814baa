// The program's allocator in the build that an end-to-end test runs out of
// memory: the allocation numbered KELPO_FAIL_AT (from 0) fails and every other
// one is made; at exit the number of allocations asked for is written to the
// file KELPO_ALLOCATIONS names, so the test knows when it has tried them all.
#include <windows.h>

#include <cstdlib>

#include "base/memory.h"

namespace {

long s_nAllocations = 0;

long FailAt() {
    static const long s_nFailAt = [] {
        wchar_t sz[16] = {};
        return ::GetEnvironmentVariableW(L"KELPO_FAIL_AT", sz, 16) != 0 ? _wtol(sz) : -1L;
    }();
    return s_nFailAt;
}

struct CCountAtExit {
    ~CCountAtExit() {
        wchar_t szPath[MAX_PATH] = {};
        if (::GetEnvironmentVariableW(L"KELPO_ALLOCATIONS", szPath, MAX_PATH) == 0) {
            return;
        }
        char szCount[16] = {};
        const int cb = ::wsprintfA(szCount, "%ld", s_nAllocations);
        HANDLE hFile = ::CreateFileW(szPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (hFile != INVALID_HANDLE_VALUE) {
            DWORD cbWritten = 0;
            ::WriteFile(hFile, szCount, static_cast<DWORD>(cb), &cbWritten, nullptr);
            ::CloseHandle(hFile);
        }
    }
} s_countAtExit;

}  // namespace

void* GrowBlock(void* p, size_t cb) {
    if (s_nAllocations++ == FailAt()) {
        return nullptr;
    }
    return std::realloc(p, cb != 0 ? cb : 1);
}

void FreeBlock(void* p) {
    std::free(p);
}
