#include "enum/window_list.h"

#include <algorithm>

#include "base/number_text.h"
#include "win/dpi.h"
#include "win/handles.h"

BOOL CWindowList::SubclassWindow(HWND hWnd, UINT nDpi) {
    if (!CSortListViewCtrl::SubclassWindow(hWnd)) {
        return FALSE;
    }
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    HINSTANCE hInst = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(GetParent(), GWLP_HINSTANCE));
    for (int i = 0; i < 5; ++i) {
        wchar_t szText[64] = {};
        ::LoadStringW(hInst, 512 + i, szText, ARRAYSIZE(szText));
        // The rows are written by column number: a missing column would put
        // its neighbours' values under the wrong headers.
        if (InsertColumn(i, szText, i == 0 ? LVCFMT_IMAGE : LVCFMT_RIGHT) != i) {
            return FALSE;
        }
    }
    for (int i = 1; i < 5; ++i) {
        SetColumnSortKind(i, kSortInteger);
    }
    SetSortColumn(0);

    RECT rcUnit = {0, 0, 4, 8};
    ::MapDialogRect(GetParent(), &rcUnit);
    m_cxNumberAtFirstDpi = 8 * rcUnit.right;
    m_nFirstDpi = nDpi;
    SizeColumns(nDpi);
    SizeImages(nDpi);
    return TRUE;
}

void CWindowList::SetDpi(UINT nDpi) {
    SizeColumns(nDpi);
    SizeImages(nDpi);
}

// The number columns are eight dialog units wide at the first scale and grow
// with the scale; the title takes the rest, less a vertical scroll bar.
void CWindowList::SizeColumns(UINT nDpi) {
    const int cxNumber = ::MulDiv(m_cxNumberAtFirstDpi, static_cast<int>(nDpi), static_cast<int>(m_nFirstDpi));
    RECT rcClient = {};
    GetClientRect(&rcClient);
    const int cxTitle = rcClient.right - 4 * cxNumber - MetricForDpi(SM_CXVSCROLL, nDpi);
    SendMessage(LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(static_cast<WORD>(cxTitle), 0));
    for (int i = 1; i < 5; ++i) {
        SendMessage(LVM_SETCOLUMNWIDTH, i, MAKELPARAM(static_cast<WORD>(cxNumber), 0));
    }
}

// Small icons of the scale; at a new one every row's icon is fetched again.
void CWindowList::SizeImages(UINT nDpi) {
    const int cx = MetricForDpi(SM_CXSMICON, nDpi);
    const int cy = MetricForDpi(SM_CYSMICON, nDpi);
    int cxNow = 0;
    int cyNow = 0;
    const HIMAGELIST hOld = GetImageList(LVSIL_SMALL);
    if (hOld != nullptr && ::ImageList_GetIconSize(hOld, &cxNow, &cyNow) && cxNow == cx && cyNow == cy) {
        return;
    }
    const HIMAGELIST hImages = ::ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 0, 10);
    if (hImages == nullptr) {
        return;  // the old size serves
    }
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hImages));
    if (hOld != nullptr) {
        ::ImageList_Destroy(hOld);
    }
    AddShieldOverlay();
    for (int i = 0; i < GetItemCount(); ++i) {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        const bool bMarked = (SendMessage(LVM_GETITEMSTATE, i, LVIS_OVERLAYMASK) & LVIS_OVERLAYMASK) != 0;
        item.iImage = RowImage(reinterpret_cast<HWND>(GetItemData(i)), bMarked);
        SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

// The shield in the lower right quarter of a clear image, as the shell marks
// what needs administrator rights, is the list's overlay 1 and, added to the
// empty list, its first image. Without it the rows are not marked; nothing
// else changes.
void CWindowList::AddShieldOverlay() {
    const HIMAGELIST hImages = GetImageList(LVSIL_SMALL);
    m_iShieldImage = -1;
    int cx = 0;
    int cy = 0;
    if (!::ImageList_GetIconSize(hImages, &cx, &cy)) {
        return;
    }
    // The system's own icons are shared (never destroyed), at the sizes it keeps.
    const auto hShield = static_cast<HICON>(::LoadImageW(nullptr, IDI_SHIELD, IMAGE_ICON, cx, cy, LR_SHARED));
    if (hShield == nullptr) {
        return;
    }
    const CMemoryDc dc(::CreateCompatibleDC(nullptr));
    const CBitmapOwner bitmap(CreateDib32(dc, cx, cy));  // clear: every pixel transparent
    if (bitmap == nullptr) {
        return;
    }
    const HGDIOBJ hOld = ::SelectObject(dc, bitmap);
    ::DrawIconEx(dc, cx - cx / 2, cy - cy / 2, hShield, cx / 2, cy / 2, 0, nullptr, DI_NORMAL);
    ::SelectObject(dc, hOld);
    m_iShieldImage = ::ImageList_Add(hImages, bitmap, nullptr);
    if (m_iShieldImage >= 0) {
        ::ImageList_SetOverlayImage(hImages, m_iShieldImage, 1);
    }
}

int AppendIconCopy(HIMAGELIST hImages, HICON hIcon) {
    int cx = 0;
    int cy = 0;
    if (!::ImageList_GetIconSize(hImages, &cx, &cy)) {
        return -1;
    }
    // An icon that already has the list's size and a colour image goes in as it
    // is. ImageList_ReplaceIcon does the same in general, but some systems take
    // milliseconds per icon there, which a refill of a full desktop cannot afford.
    CIconBitmaps bitmaps(hIcon);
    if (bitmaps.bValid && bitmaps.ii.hbmColor != nullptr) {
        BITMAP bm = {};
        if (::GetObjectW(bitmaps.ii.hbmColor, sizeof(bm), &bm) && bm.bmWidth == cx && bm.bmHeight == cy) {
            return ::ImageList_Add(hImages, bitmaps.ii.hbmColor, bitmaps.ii.hbmMask);
        }
    }
    return ::ImageList_ReplaceIcon(hImages, -1, hIcon);
}

void CWindowList::DeleteAllWindowItems() {
    DeleteAllItems();
    // Every row's image goes; the shield, the first image of the list, stays.
    ::ImageList_SetImageCount(GetImageList(LVSIL_SMALL), m_iShieldImage >= 0 ? 1 : 0);
    m_hungThreads.Clear();
}

HICON CWindowList::QuerySmallIcon(HWND hWnd) {
    const DWORD dwThreadId = ::GetWindowThreadProcessId(hWnd, nullptr);
    DWORD_PTR dwResult = 0;
    if (std::find(m_hungThreads.begin(), m_hungThreads.end(), dwThreadId) == m_hungThreads.end()) {
        if (!::SendMessageTimeoutW(hWnd, WM_GETICON, ICON_SMALL, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                   kIconQueryTimeoutMs, &dwResult)) {
            dwResult = 0;
            if (::GetLastError() == ERROR_TIMEOUT || ::IsHungAppWindow(hWnd)) {
                m_hungThreads.Add(dwThreadId);  // without memory, the next window waits too
            }
        }
    }
    HICON hIcon = reinterpret_cast<HICON>(dwResult);
    if (hIcon == nullptr) {
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICONSM));
    }
    return hIcon;
}

int CWindowList::RowImage(HWND hWnd, bool bMarked) {
    if (HICON hIcon = QuerySmallIcon(hWnd)) {
        const int iAdded = AppendIconCopy(GetImageList(LVSIL_SMALL), hIcon);
        if (iAdded >= 0) {
            return iAdded;
        }
    }
    // An overlay needs an image under it: a marked row without an icon shows the shield alone.
    return bMarked && m_iShieldImage >= 0 ? m_iShieldImage : I_IMAGENONE;
}

int CWindowList::AddWindowItem(HWND hWnd, const RECT& rc, bool bMarked) {
    // Titles that fit here need no memory, so no row is ever left out. A
    // longer one is read whole when memory allows, else as far as this holds,
    // which is more than any column shows.
    wchar_t szTitle[1024] = {};
    CWideString title;
    const wchar_t* pszTitle = szTitle;
    if (::GetWindowTextLengthW(hWnd) >= static_cast<int>(ARRAYSIZE(szTitle)) && CWindow(hWnd).GetText(&title)) {
        pszTitle = title.c_str();
    } else {
        ::GetWindowTextW(hWnd, szTitle, ARRAYSIZE(szTitle));
    }

    const int iImage = RowImage(hWnd, bMarked);

    // The row's data goes in with the row: one message less per window, and no
    // moment in which a row exists without its window.
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = GetItemCount();
    item.state = bMarked ? INDEXTOOVERLAYMASK(1) : 0;
    item.stateMask = LVIS_OVERLAYMASK;
    item.pszText = const_cast<wchar_t*>(pszTitle);
    item.iImage = iImage;
    item.lParam = reinterpret_cast<LPARAM>(hWnd);
    const int iItem = static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (iItem == -1) {
        return -1;
    }
    SetItemRect(iItem, rc);
    return iItem;
}

BOOL CWindowList::SetItemRect(int iItem, const RECT& rc) {
    if (iItem == -1) {
        return FALSE;
    }
    const int64_t values[4] = {int64_t{rc.right} - rc.left, int64_t{rc.bottom} - rc.top, rc.left, rc.top};
    BOOL bAll = TRUE;
    for (int i = 0; i < 4; ++i) {
        if (!SetItemText(iItem, i + 1, DecimalText(values[i]).c_str())) {
            bAll = FALSE;
        }
    }
    return bAll;
}

void CWindowList::UpdateItemRect(int iItem, const RECT& rc) {
    const int iColumn = m_iSortColumn;
    const bool bNumberSorted = iItem != -1 && iColumn >= 1 && iColumn <= 4;
    wchar_t szBefore[kSortKeyChars + 1] = {};
    wchar_t szAfter[kSortKeyChars + 1] = {};
    if (bNumberSorted) {
        GetCellText(iItem, iColumn, szBefore, ARRAYSIZE(szBefore));
    }
    SetItemRect(iItem, rc);
    if (!bNumberSorted) {
        return;
    }
    GetCellText(iItem, iColumn, szAfter, ARRAYSIZE(szAfter));
    if (::lstrcmpW(szBefore, szAfter) != 0) {
        // One row moves: too quick for the cursor to say so, and a target
        // being dragged would make it flicker.
        const bool bWaitCursor = m_bUseWaitCursor;
        m_bUseWaitCursor = false;
        SortItems(iColumn, m_bSortDescending);
        m_bUseWaitCursor = bWaitCursor;
    }
}

HWND CWindowList::SelectedWindow() const {
    const int iItem = static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return iItem == -1 ? nullptr : reinterpret_cast<HWND>(GetItemData(iItem));
}

int CWindowList::FindWindowItem(HWND hWnd) const {
    LVFINDINFOW find = {};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(hWnd);
    return static_cast<int>(SendMessage(LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void CWindowList::SelectWindowItem(int iItem) {
    if (iItem == -1) {
        SetItemState(-1, 0, LVIS_SELECTED);
        return;
    }
    if ((::GetWindowLongW(m_hWnd, GWL_STYLE) & LVS_SINGLESEL) == 0) {
        SetItemState(-1, 0, LVIS_SELECTED);
    }
    if (SetItemState(iItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED)) {
        SendMessage(LVM_SETSELECTIONMARK, 0, iItem);
        SendMessage(LVM_ENSUREVISIBLE, iItem, FALSE);
    }
}
