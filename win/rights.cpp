#include "win/rights.h"

#include <commctrl.h>

#include "win/handles.h"

DWORD ProcessIntegrity(DWORD dwPid) {
    // Limited query rights are granted across integrity levels; the token of
    // a process of the same user can then be read even when it is elevated.
    const CKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwPid));
    HANDLE hToken = nullptr;
    if (process == nullptr || !::OpenProcessToken(process, TOKEN_QUERY, &hToken)) {
        return kIntegrityUnknown;
    }
    const CKernelHandle token(hToken);
    union {
        TOKEN_MANDATORY_LABEL label;
        BYTE bytes[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    } buffer;
    DWORD cb = 0;
    if (!::GetTokenInformation(token, TokenIntegrityLevel, &buffer, sizeof(buffer), &cb)) {
        return kIntegrityUnknown;
    }
    const PSID pSid = buffer.label.Label.Sid;
    const UCHAR nCount = *::GetSidSubAuthorityCount(pSid);
    return nCount == 0 ? kIntegrityUnknown : *::GetSidSubAuthority(pSid, nCount - 1);
}

bool IsProcessElevated() {
    HANDLE hToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | STANDARD_RIGHTS_READ, &hToken)) {
        return false;
    }
    const CKernelHandle token(hToken);
    DWORD cb = 0;
    TOKEN_ELEVATION elevation = {};
    return ::GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &cb) &&
           elevation.TokenIsElevated != 0;
}

BOOL SetTargetWindowPos(HWND hWnd, HWND hWndAfter, int x, int y, int cx, int cy, UINT uFlags) {
    return ::SetWindowPos(hWnd, hWndAfter, x, y, cx, cy, uFlags);
}

void ShowElevationShield(HWND hWndButton, bool bShow) {
    ::SendMessageW(hWndButton, BCM_SETSHIELD, 0, bShow);
}

BOOL ShellExecuteElevated(SHELLEXECUTEINFOW* pInfo) { return ::ShellExecuteExW(pInfo); }
