#include "enum/window_enum.h"

#include <dwmapi.h>

#include "win/system_library.h"

bool IsEligibleWindow(HWND hWnd) {
    if (!::IsWindowVisible(hWnd)) {
        return false;
    }
    DWORD dwCloaked = 0;
    if (SUCCEEDED(DwmGetWindowAttributeFromSystem(hWnd, DWMWA_CLOAKED, &dwCloaked, sizeof(dwCloaked))) &&
        dwCloaked != 0) {
        return false;
    }
    TITLEBARINFO tbi = {};
    tbi.cbSize = sizeof(tbi);
    if (!::GetTitleBarInfo(hWnd, &tbi) || (tbi.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0) {
        return false;
    }
    DWORD dwThreadId = ::GetWindowThreadProcessId(hWnd, nullptr);
    return dwThreadId != 0 && dwThreadId != ::GetCurrentThreadId();
}

bool GetVisibleWindowInfo(HWND hWnd, WINDOWINFO& info) {
    if (!::GetWindowInfo(hWnd, &info)) {
        return false;
    }
    RECT rcFrame = {};
    if (SUCCEEDED(DwmGetWindowAttributeFromSystem(hWnd, DWMWA_EXTENDED_FRAME_BOUNDS, &rcFrame, sizeof(rcFrame)))) {
        info.rcWindow = rcFrame;
    }
    return true;
}
