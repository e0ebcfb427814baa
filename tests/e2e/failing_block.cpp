// The program's allocator in the build that an end-to-end test runs out of
// memory: the allocation numbered KELPO_FAIL_AT (from 0) fails and every other
// one is made; at exit the number of allocations asked for is written to the
// file KELPO_ALLOCATIONS names, so the test knows when it has tried them all.
// Each alert sound's type is appended to the file KELPO_ALERTS names, as a
// line: where the program's only answer is a sound, Wine lets no test hear it.
#include <windows.h>

#include <cstdlib>

#include "base/memory.h"
#include "win/alert.h"

namespace {

long s_nAllocations = 0;

long FailAt() {
    static const long s_nFailAt = [] {
        wchar_t sz[16] = {};
        return ::GetEnvironmentVariableW(L"KELPO_FAIL_AT", sz, 16) != 0 ? _wtol(sz) : -1L;
    }();
    return s_nFailAt;
}

// Appended to: the test deletes the files before it needs them.
void AppendToFile(const wchar_t* pszVariable, const char* pszText, int cb) {
    wchar_t szPath[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(pszVariable, szPath, MAX_PATH) == 0) {
        return;
    }
    HANDLE hFile = ::CreateFileW(szPath, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        DWORD cbWritten = 0;
        ::WriteFile(hFile, pszText, static_cast<DWORD>(cb), &cbWritten, nullptr);
        ::CloseHandle(hFile);
    }
}

struct CCountAtExit {
    ~CCountAtExit() {
        char szCount[16] = {};
        AppendToFile(L"KELPO_ALLOCATIONS", szCount, ::wsprintfA(szCount, "%ld", s_nAllocations));
    }
} s_countAtExit;

}  // namespace

void Alert(UINT uType) {
    char szLine[16] = {};
    AppendToFile(L"KELPO_ALERTS", szLine, ::wsprintfA(szLine, "%u\n", uType));
    ::MessageBeep(uType);
}

void* GrowBlock(void* p, size_t cb) {
    if (s_nAllocations++ == FailAt()) {
        return nullptr;
    }
    return std::realloc(p, cb != 0 ? cb : 1);
}

void FreeBlock(void* p) {
    std::free(p);
}
