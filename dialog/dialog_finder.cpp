// The finder's glue: the reticle's image in the dialog (the pick itself is the
// dialog's reticle site).
#include "dialog/dialog.h"

#include "res/resource.h"
#include "win/handles.h"

namespace {

HICON CopyCursorAsColourIcon(HICON hCursor) {
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
    if (hdc == nullptr || hbmColor == nullptr || hbmMask == nullptr) {
        return nullptr;
    }
    HGDIOBJ hOld = ::SelectObject(hdc, hbmColor);
    ::DrawIconEx(hdc, 0, 0, hCursor, cx, cy, 0, nullptr, DI_IMAGE);
    ::SelectObject(hdc, hbmMask);
    ::DrawIconEx(hdc, 0, 0, hCursor, cx, cy, 0, nullptr, DI_MASK);
    ::SelectObject(hdc, hOld);
    ICONINFO icon = {TRUE, 0, 0, hbmMask, hbmColor};
    return ::CreateIconIndirect(&icon);
}

}  // namespace

void CDialog::SetUpReticle() {
    if (!m_reticle.SubclassWindow(GetDlgItem(IDC_RETICLE))) {
        return;
    }
    const HICON hCursor = static_cast<HICON>(::LoadImageW(s_module.GetResourceInstance(),
                                                          MAKEINTRESOURCEW(m_reticle.GetDlgCtrlID()), IMAGE_CURSOR,
                                                          0, 0, LR_DEFAULTSIZE));
    m_reticle.SetIcon(hCursor);
    if (hCursor != nullptr && m_reticle.GetIcon() == nullptr) {
        // Some icon statics refuse monochrome cursors; the same picture as a
        // colour icon (whose hotspot is its centre, as the reticle's is) is accepted.
        m_hReticleIcon.Reset(CopyCursorAsColourIcon(hCursor));
        m_reticle.SetIcon(m_hReticleIcon);
        ::DestroyCursor(hCursor);
    }
    CentreOverPrevious(m_reticle);
}
