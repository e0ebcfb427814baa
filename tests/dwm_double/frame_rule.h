// The frame rule of the window manager's test double, shared by the double
// (which answers the program with it) and the tests (which compute what the
// program should show and where a window should land).
#pragma once
#include <windows.h>

// A test marks a window cloaked, or gives it borders of its own, through these
// properties; window properties are readable from every process.
constexpr wchar_t kCloakedProp[] = L"Kelpo.Test.Cloaked";
constexpr wchar_t kBorderProp[] = L"Kelpo.Test.Border";  // border + 1, so 0 can be set

// Two scales side by side, which Wine cannot show: while the desktop window
// carries kScaleLineProp (x + 1), a window whose centre lies at or right of x
// is on a display of kScalePercentProp percent, and one left of it at 100 %.
constexpr wchar_t kScaleLineProp[] = L"Kelpo.Test.ScaleLine";
constexpr wchar_t kScalePercentProp[] = L"Kelpo.Test.ScalePercent";

inline int DoubleScalePercent(const RECT& rcWindow) {
    HWND hDesktop = ::GetDesktopWindow();
    const INT_PTR line = reinterpret_cast<INT_PTR>(::GetPropW(hDesktop, kScaleLineProp));
    if (line == 0 || (rcWindow.left + rcWindow.right) / 2 < line - 1) {
        return 100;
    }
    return static_cast<int>(reinterpret_cast<INT_PTR>(::GetPropW(hDesktop, kScalePercentProp)));
}

// Invisible resize border as current Windows draws it: 7 pixels at 96 DPI and 100 %.
inline int DoubleBorder(HWND hWnd, const RECT& rcWindow) {
    if (HANDLE h = ::GetPropW(hWnd, kBorderProp)) {
        return static_cast<int>(reinterpret_cast<INT_PTR>(h)) - 1;
    }
    return ::MulDiv(::MulDiv(7, static_cast<int>(::GetDpiForWindow(hWnd)), 96), DoubleScalePercent(rcWindow), 100);
}

inline void SetDoubleBorder(HWND hWnd, int border) {
    ::SetPropW(hWnd, kBorderProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(border + 1)));
}

// Extended frame bounds: sizable windows in their normal state lose the border
// on the left, right and bottom (never at the top); others are their window rectangle.
inline RECT DoubleFrame(HWND hWnd, const RECT& rcWindow) {
    RECT rc = rcWindow;
    const LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    if ((style & WS_THICKFRAME) != 0 && (style & (WS_MINIMIZE | WS_MAXIMIZE)) == 0) {
        const int b = DoubleBorder(hWnd, rcWindow);
        rc.left += b;
        rc.right -= b;
        rc.bottom -= b;
    }
    return rc;
}
