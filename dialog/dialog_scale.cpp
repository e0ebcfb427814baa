// The dialog moved to a display of another scale, or shown in other colours:
// what it sized or drew itself follows, as at start-up.
#include "dialog/dialog.h"

namespace {

BOOL CALLBACK PassSysColorChange(HWND hWnd, LPARAM) {
    ::SendMessageW(hWnd, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

}  // namespace

// The dialog takes the rectangle the system suggests for the new scale, as
// every per-monitor aware window must, and the dialog manager rescales the
// controls and their fonts when this returns; the program scales what it set
// in pixels afterwards.
void CDialog::OnDpiChanged(UINT nDpi, const RECT* prcSuggested) {
    m_nDpi = nDpi;
    if (prcSuggested != nullptr) {
        ::SetWindowPos(m_hWnd, nullptr, prcSuggested->left, prcSuggested->top,
                       prcSuggested->right - prcSuggested->left, prcSuggested->bottom - prcSuggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::PostMessageW(m_hWnd, kMsgRescale, 0, 0);
}

// The columns, the icons, the reticle and the up-downs' line, at the dialog's scale.
void CDialog::Rescale() {
    m_windowList.SetDpi(m_nDpi);
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
