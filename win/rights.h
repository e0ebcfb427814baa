// What the system lets this program do to other programs' windows: the
// integrity levels of processes, moves that the system may refuse, and the
// way to start again with administrator rights. A test build replaces this
// file's definitions with a stand-in; the rest of the program is the same.
#pragma once
#include <windows.h>
#include <shellapi.h>

// A process whose level could not be read (gone, protected, another user's).
inline constexpr DWORD kIntegrityUnknown = 0xFFFFFFFF;

// The process's integrity level (SECURITY_MANDATORY_*_RID), read from its
// token without touching any of its windows; kIntegrityUnknown when it cannot
// be asked. Never waits on the process.
DWORD ProcessIntegrity(DWORD dwPid);
// Whether this program runs with administrator rights it asked for.
bool IsProcessElevated();
// SetWindowPos on another program's window; the system refuses it with
// ERROR_ACCESS_DENIED when that program runs at a higher level.
BOOL SetTargetWindowPos(HWND hWnd, HWND hWndAfter, int x, int y, int cx, int cy, UINT uFlags);
// The button shows the system's shield: pressing it asks for administrator rights.
void ShowElevationShield(HWND hWndButton, bool bShow);
// ShellExecuteExW with the "runas" verb the caller has set: the consent prompt,
// then the program elevated. ERROR_CANCELLED when the user declined.
BOOL ShellExecuteElevated(SHELLEXECUTEINFOW* pInfo);
