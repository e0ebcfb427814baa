// The finder's glue: the reticle's image in the dialog (the pick itself is the
// dialog's reticle site).
#include "dialog/dialog.h"

#include "res/resource.h"
#include "win/dpi.h"
#include "win/handles.h"

namespace {

// The cursor's picture as a colour icon whose black is drawn in crInk (white
// stays white, transparent stays transparent).
HICON CopyCursorAsColourIcon(HICON hCursor, COLORREF crInk) {
    int cx = 0;
    int cy = 0;
    {
        const CIconBitmaps bitmaps(hCursor);
        if (!bitmaps.bValid) {
            return nullptr;
        }
        BITMAP bm = {};
        ::GetObjectW(bitmaps.ii.hbmMask, sizeof(bm), &bm);
        cx = bm.bmWidth;
        cy = bitmaps.ii.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
    }
    const CMemoryDc hdc(::CreateCompatibleDC(nullptr));
    const CBitmapOwner hbmColor(CreateDib32(hdc, cx, cy));
    const CBitmapOwner hbmMask(::CreateBitmap(cx, cy, 1, 1, nullptr));
    const CBrushOwner hbrInk(::CreateSolidBrush(crInk));
    if (hdc == nullptr || hbmColor == nullptr || hbmMask == nullptr || hbrInk == nullptr) {
        return nullptr;
    }
    HGDIOBJ hOld = ::SelectObject(hdc, hbmColor);
    ::DrawIconEx(hdc, 0, 0, hCursor, cx, cy, 0, nullptr, DI_IMAGE);
    const HGDIOBJ hOldBrush = ::SelectObject(hdc, static_cast<HGDIOBJ>(hbrInk));
    ::PatBlt(hdc, 0, 0, cx, cy, 0x00FA0089);  // the image OR the ink: black takes the ink
    ::SelectObject(hdc, hOldBrush);
    ::SelectObject(hdc, hbmMask);
    ::DrawIconEx(hdc, 0, 0, hCursor, cx, cy, 0, nullptr, DI_MASK);
    ::SelectObject(hdc, hOld);
    ICONINFO icon = {TRUE, 0, 0, hbmMask, hbmColor};
    return ::CreateIconIndirect(&icon);
}

}  // namespace

void CDialog::SetUpReticle() {
    if (m_reticle.SubclassWindow(GetDlgItem(IDC_RETICLE))) {
        ShowReticleImage();
    }
}

// The cursor at the dialog's scale, centred in its frame. In the usual colours
// the static shows the cursor itself; where the face colour would hide its
// black (a high-contrast theme), a copy drawn in the buttons' text colour,
// which the theme makes stand out from the face.
void CDialog::ShowReticleImage() {
    const auto hCursor = static_cast<HCURSOR>(::LoadImageW(
        s_module.GetResourceInstance(), MAKEINTRESOURCEW(m_reticle.GetDlgCtrlID()), IMAGE_CURSOR,
        MetricForDpi(SM_CXCURSOR, m_nDpi), MetricForDpi(SM_CYCURSOR, m_nDpi), 0));
    if (hCursor == nullptr) {
        return;  // the image shown stays
    }
    const COLORREF crInk = ::GetSysColor(COLOR_BTNTEXT);
    bool bCursorShown = false;
    if (crInk == RGB(0, 0, 0)) {
        m_reticle.SetIcon(hCursor);
        // Some icon statics refuse monochrome cursors.
        bCursorShown = m_reticle.GetIcon() == hCursor;
    }
    HICON hCopy = nullptr;
    if (!bCursorShown) {
        hCopy = CopyCursorAsColourIcon(hCursor, crInk);
        m_reticle.SetIcon(hCopy);
    }
    // The images shown before go, now that the static no longer shows them.
    m_hReticleIcon.Reset(hCopy);
    if (bCursorShown) {
        m_hReticleCursor.Reset(hCursor);
    } else {
        m_hReticleCursor.Reset();
        ::DestroyCursor(hCursor);
    }
    CentreOverPrevious(m_reticle);
}
