// The calls a refill cannot do without for one window of the desktop: the
// eligibility queries, the window information and frame, the title and the
// icon query. The bench's refill floor and the start-up floor program both
// make exactly these.
#pragma once
#include <windows.h>
#include <dwmapi.h>

#include "enum/window_list.h"

// Whether the window would have a row; its title and visible frame when it would.
inline bool FloorCalls(HWND h, wchar_t (&title)[256], RECT* prc) {
    if (!::IsWindowVisible(h)) return false;
    DWORD cloaked = 0;
    ::DwmGetWindowAttribute(h, DWMWA_CLOAKED, &cloaked, sizeof(cloaked));
    TITLEBARINFO tbi = {};
    tbi.cbSize = sizeof(tbi);
    if (!::GetTitleBarInfo(h, &tbi) || (tbi.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return false;
    if (::GetWindowThreadProcessId(h, nullptr) == ::GetCurrentThreadId()) return false;
    WINDOWINFO wi = {};
    wi.cbSize = sizeof(wi);
    ::GetWindowInfo(h, &wi);
    *prc = wi.rcWindow;
    ::DwmGetWindowAttribute(h, DWMWA_EXTENDED_FRAME_BOUNDS, prc, sizeof(*prc));
    title[0] = L'\0';
    ::GetWindowTextW(h, title, 256);
    DWORD_PTR icon = 0;
    if (!::SendMessageTimeoutW(h, WM_GETICON, ICON_SMALL, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               CWindowList::kIconQueryTimeoutMs, &icon) ||
        icon == 0) {
        ::GetClassLongPtrW(h, GCLP_HICONSM);
    }
    return true;
}
