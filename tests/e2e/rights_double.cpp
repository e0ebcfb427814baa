// The system's rights as the build that the elevation tests run sees them.
// Wine runs every process with the same rights, so here a process runs at the
// level that one of its top-level windows declares in the property
// "Kelpo.Integrity" (1: a process that cannot be asked), this program at
// KELPO_INTEGRITY, and every other process at the program's level. A move onto
// a window of a higher level, or of a process that cannot be asked, is refused
// as the system refuses it. The consent prompt answers with the error in
// KELPO_RUNAS_ERROR (1223: declined); without it the prompt is accepted and the
// new instance runs at the administrators' level. The Apply button's shield is
// mirrored in its property "Kelpo.Shield", which Wine's buttons do not draw.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "win/rights.h"

namespace {

constexpr DWORD kHigh = 0x3000;
constexpr DWORD kCannotBeAsked = 1;

DWORD EnvironmentNumber(const wchar_t* pszName, DWORD dwDefault) {
    wchar_t sz[16] = {};
    const DWORD cch = ::GetEnvironmentVariableW(pszName, sz, 16);
    return cch != 0 && cch < 16 ? static_cast<DWORD>(std::wcstoul(sz, nullptr, 0)) : dwDefault;
}

DWORD OwnLevel() { return EnvironmentNumber(L"KELPO_INTEGRITY", kHigh); }

struct DeclaredSearch {
    DWORD dwPid;
    DWORD dwLevel;
};

BOOL CALLBACK FindDeclared(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<DeclaredSearch*>(lParam);
    DWORD dwPid = 0;
    ::GetWindowThreadProcessId(hWnd, &dwPid);
    const HANDLE hLevel = dwPid == pSearch->dwPid ? ::GetPropW(hWnd, L"Kelpo.Integrity") : nullptr;
    if (hLevel == nullptr) {
        return TRUE;
    }
    pSearch->dwLevel = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hLevel));
    return FALSE;
}

// The level the process declares, or 0.
DWORD DeclaredLevel(DWORD dwPid) {
    DeclaredSearch search = {dwPid, 0};
    ::EnumWindows(FindDeclared, reinterpret_cast<LPARAM>(&search));
    return search.dwLevel;
}

}  // namespace

DWORD ProcessIntegrity(DWORD dwPid) {
    const DWORD dwDeclared = dwPid == ::GetCurrentProcessId() ? 0 : DeclaredLevel(dwPid);
    if (dwDeclared == kCannotBeAsked) {
        return kIntegrityUnknown;
    }
    return dwDeclared != 0 ? dwDeclared : OwnLevel();
}

bool IsProcessElevated() { return OwnLevel() >= kHigh; }

BOOL SetTargetWindowPos(HWND hWnd, HWND hWndAfter, int x, int y, int cx, int cy, UINT uFlags) {
    DWORD dwPid = 0;
    ::GetWindowThreadProcessId(hWnd, &dwPid);
    const DWORD dwDeclared = DeclaredLevel(dwPid);
    if (dwDeclared == kCannotBeAsked || dwDeclared > OwnLevel()) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return ::SetWindowPos(hWnd, hWndAfter, x, y, cx, cy, uFlags);
}

void ShowElevationShield(HWND hWndButton, bool bShow) {
    ::SendMessageW(hWndButton, BCM_SETSHIELD, 0, bShow);
    if (bShow) {
        ::SetPropW(hWndButton, L"Kelpo.Shield", reinterpret_cast<HANDLE>(1));
    } else {
        ::RemovePropW(hWndButton, L"Kelpo.Shield");
    }
}

BOOL ShellExecuteElevated(SHELLEXECUTEINFOW* pInfo) {
    const DWORD dwError = EnvironmentNumber(L"KELPO_RUNAS_ERROR", 0);
    if (dwError != 0) {
        ::SetLastError(dwError);
        return FALSE;
    }
    wchar_t szOwn[16] = {};
    const bool bOwn = ::GetEnvironmentVariableW(L"KELPO_INTEGRITY", szOwn, 16) != 0;
    ::SetEnvironmentVariableW(L"KELPO_INTEGRITY", L"12288");  // what the new instance inherits
    const BOOL bStarted = ::ShellExecuteExW(pInfo);
    const DWORD dwLastError = ::GetLastError();
    ::SetEnvironmentVariableW(L"KELPO_INTEGRITY", bOwn ? szOwn : nullptr);
    ::SetLastError(dwLastError);
    return bStarted;
}
