// The elevated relaunch, whose prompt Wine never shows: this process patches
// its own import of ShellExecuteExW (the relaunch code is linked into it) and
// lets the shell fail as it would when the user declines, or for another reason.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>

#include "app/run_as.h"

namespace {

struct ShellAnswer {
    DWORD dwError;
    INT_PTR instApp;
};
ShellAnswer s_answer;
std::wstring s_verb;

BOOL WINAPI FakeShellExecuteExW(SHELLEXECUTEINFOW* pInfo) {
    s_verb = pInfo->lpVerb != nullptr ? pInfo->lpVerb : L"";
    pInfo->hInstApp = reinterpret_cast<HINSTANCE>(s_answer.instApp);
    ::SetLastError(s_answer.dwError);
    return FALSE;
}

// Points this module's import of a function at a replacement; the old target.
void* PatchImport(const char* pszDll, const char* pszFunction, void* pReplacement) {
    auto* pBase = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* pDos = reinterpret_cast<IMAGE_DOS_HEADER*>(pBase);
    const auto* pNt = reinterpret_cast<IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* pDesc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + dir.VirtualAddress); pDesc->Name != 0;
         ++pDesc) {
        if (_stricmp(reinterpret_cast<char*>(pBase + pDesc->Name), pszDll) != 0) continue;
        auto* pNames = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->OriginalFirstThunk);
        auto* pSlots = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->FirstThunk);
        for (; pNames->u1.AddressOfData != 0; ++pNames, ++pSlots) {
            if (IMAGE_SNAP_BY_ORDINAL(pNames->u1.Ordinal)) continue;
            const auto* pByName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(pBase + pNames->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(pByName->Name), pszFunction) != 0) continue;
            DWORD dwOld = 0;
            ::VirtualProtect(&pSlots->u1.Function, sizeof(pSlots->u1.Function), PAGE_READWRITE, &dwOld);
            void* pOld = reinterpret_cast<void*>(pSlots->u1.Function);
            pSlots->u1.Function = reinterpret_cast<ULONG_PTR>(pReplacement);
            ::VirtualProtect(&pSlots->u1.Function, sizeof(pSlots->u1.Function), dwOld, &dwOld);
            return pOld;
        }
    }
    return nullptr;
}

}  // namespace

TEST(RunAs, DeclinedIsSilentExitOneAndOtherFailuresAreTheirHResult) {
    void* pReal = PatchImport("shell32.dll", "ShellExecuteExW", reinterpret_cast<void*>(&FakeShellExecuteExW));
    ASSERT_NE(pReal, nullptr);
    const struct {
        ShellAnswer answer;
        HRESULT hr;
    } cases[] = {
        {{ERROR_CANCELLED, 0}, S_FALSE},  // declined at the prompt
        {{ERROR_FILE_NOT_FOUND, 2}, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {{0, 31}, HRESULT_FROM_WIN32(ERROR_NO_ASSOCIATION)},  // only the shell's own code
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.dwError);
        s_answer = c.answer;
        s_verb.clear();
        EXPECT_EQ(RunAsAdministrator(), c.hr);
        EXPECT_EQ(s_verb, L"runas");
    }
    PatchImport("shell32.dll", "ShellExecuteExW", pReal);
}
