// The dialog moved to a display of another scale, or shown in other colours:
// what it sized or drew itself follows, as at start-up.
#include "dialog/dialog.h"

namespace {

BOOL CALLBACK PassSysColorChange(HWND hWnd, LPARAM) {
    ::SendMessageW(hWnd, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

}  // namespace

// The system scales the controls and their fonts; the program scales what it
// set in pixels: the columns, the icons, the reticle and the up-downs' line.
void CDialog::OnDpiChanged(UINT nDpi, const RECT* prcSuggested) {
    m_nDpi = nDpi;
    if (prcSuggested != nullptr) {
        ::SetWindowPos(m_hWnd, nullptr, prcSuggested->left, prcSuggested->top,
                       prcSuggested->right - prcSuggested->left, prcSuggested->bottom - prcSuggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_windowList.SetDpi(nDpi);
    for (CCoordValue& value : m_coordValues) {
        value.AlignUpDown();
    }
    ShowReticleImage();
    SetIcons();
}

// Common controls keep colours of their own: the top-level window passes the
// change on to them.
void CDialog::OnSysColorChange() {
    ::EnumChildWindows(m_hWnd, PassSysColorChange, 0);
    ShowReticleImage();
}
