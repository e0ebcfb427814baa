#include "win/dpi.h"

#include "win/system_library.h"

UINT WindowDpi(HWND hWnd) {
    using Fn = UINT(WINAPI*)(HWND);
    static const Fn pfn = LoadedSystemFunction<Fn>(L"user32.dll", "GetDpiForWindow");
    const UINT nDpi = pfn != nullptr ? pfn(hWnd) : 0;
    if (nDpi != 0) {
        return nDpi;
    }
    const HDC hdc = ::GetDC(nullptr);
    const int nScreenDpi = hdc != nullptr ? ::GetDeviceCaps(hdc, LOGPIXELSX) : 0;
    ::ReleaseDC(nullptr, hdc);
    return nScreenDpi > 0 ? static_cast<UINT>(nScreenDpi) : USER_DEFAULT_SCREEN_DPI;
}

int MetricForDpi(int nIndex, UINT nDpi) {
    using Fn = int(WINAPI*)(int, UINT);
    static const Fn pfn = LoadedSystemFunction<Fn>(L"user32.dll", "GetSystemMetricsForDpi");
    return pfn != nullptr ? pfn(nIndex, nDpi) : ::GetSystemMetrics(nIndex);
}
