// Which top-level windows may be targets, and reading their visible frame.
#pragma once
#include <windows.h>

// Visible, not cloaked, title bar shown, and owned by another thread than the caller's.
bool IsEligibleWindow(HWND hWnd);

// GetWindowInfo with rcWindow replaced by the extended frame bounds when the
// window manager reports them. info.cbSize must be set by the caller.
bool GetVisibleWindowInfo(HWND hWnd, WINDOWINFO& info);

// The process a window belongs to, or 0 when the window is gone.
inline DWORD WindowProcessId(HWND hWnd) {
    DWORD dwPid = 0;
    ::GetWindowThreadProcessId(hWnd, &dwPid);
    return dwPid;
}

// An empty window information with its size set, ready for the call above.
inline WINDOWINFO EmptyWindowInfo() {
    WINDOWINFO info = {};
    info.cbSize = sizeof(info);
    return info;
}

class CEnumTopLevelWindows {
public:
    virtual BOOL OnEnumWindow(HWND hWnd) = 0;

    BOOL EnumerateWindows() { return ::EnumWindows(EnumWindowsProc, reinterpret_cast<LPARAM>(this)); }
    static BOOL CALLBACK EnumWindowsProc(HWND hWnd, LPARAM lParam) {
        return reinterpret_cast<CEnumTopLevelWindows*>(lParam)->OnEnumWindow(hWnd);
    }

protected:
    ~CEnumTopLevelWindows() = default;
};
