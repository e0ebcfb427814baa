#include "dialog/reticle.h"

#include "dialog/reticle_track.h"
#include "win/handles.h"

namespace {

void Flash(HWND hWnd, DWORD dwFlags) {
    FLASHWINFO fwi = {};
    fwi.cbSize = sizeof(fwi);
    fwi.hwnd = hWnd;
    fwi.dwFlags = dwFlags;
    ::FlashWindowEx(&fwi);
}

// Connects the hover bookkeeping to the site and to caption flashing.
struct HoverOps {
    CReticleSite* pSite;
    bool Enter(HWND hWnd) { return pSite->OnReticleEnter(hWnd) != FALSE; }
    void Leave(HWND hWnd) { pSite->OnReticleLeave(hWnd); }
    void StartFlash(HWND hWnd) { Flash(hWnd, FLASHW_CAPTION | FLASHW_TIMER); }
    void StopFlash(HWND hWnd) { Flash(hWnd, FLASHW_STOP); }
};

}  // namespace

BOOL CReticle::ProcessWindowMessage(HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT& lResult, DWORD dwMsgMapID) {
    if (dwMsgMapID != 0) {
        return FALSE;
    }
    lResult = 0;
    switch (uMsg) {
    case WM_NCHITTEST:
        // A static lets the mouse through unless it claims the point.
        lResult = HTCLIENT;
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The static's class takes double clicks, so a quick second grab of the
        // reticle arrives as one; it begins a drag all the same.
        BeginDrag();
        return TRUE;
    case WM_MOUSEMOVE:
        if (::GetCapture() == m_hWnd) {
            Track(lParam);
        }
        return TRUE;
    case WM_LBUTTONUP:
        if (::GetCapture() == m_hWnd) {
            Drop(lParam);
        }
        return TRUE;
    case WM_CAPTURECHANGED:
        EndDrag();
        return TRUE;
    default:
        return FALSE;
    }
}

void CReticle::BeginDrag() {
    const HICON hIcon = GetIcon();
    POINT hotspot = {0, 0};
    if (const CIconBitmaps bitmaps(hIcon); bitmaps.bValid) {
        hotspot = POINT{static_cast<LONG>(bitmaps.ii.xHotspot), static_cast<LONG>(bitmaps.ii.yHotspot)};
    }
    RECT rc = {};
    GetWindowRect(&rc);
    const POINT pt = ReticleGrabPoint(rc, hotspot);
    ::SetCursorPos(pt.x, pt.y);
    ShowWindow(SW_HIDE);
    m_hCursorPrev = ::SetCursor(hIcon);
    ::SetCapture(m_hWnd);
}

HWND CReticle::TopLevelWindowAt(LPARAM lParam) const {
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(m_hWnd, &pt);
    return ::GetAncestor(::WindowFromPoint(pt), GA_ROOT);
}

void CReticle::Track(LPARAM lParam) {
    HoverOps ops = {m_pSite};
    TrackHover(TopLevelWindowAt(lParam), m_hWndHover, m_hWndFlash, ops);
}

void CReticle::Drop(LPARAM lParam) {
    // Releasing the capture ends the drag first (WM_CAPTURECHANGED arrives inside
    // this call), so the reticle is back before the site acts on the drop.
    ::ReleaseCapture();
    m_pSite->OnReticleDrop(TopLevelWindowAt(lParam));
}

bool CReticle::CancelDrag() {
    if (::GetCapture() != m_hWnd) {
        return false;
    }
    ::ReleaseCapture();  // the drag ends in WM_CAPTURECHANGED, with nothing picked
    return true;
}

void CReticle::EndDrag() {
    HoverOps ops = {m_pSite};
    EndHover(m_hWndHover, m_hWndFlash, ops);
    const HCURSOR hCursor = m_hCursorPrev;
    m_hCursorPrev = nullptr;
    ::SetCursor(hCursor);
    ShowWindow(SW_SHOW);
}
