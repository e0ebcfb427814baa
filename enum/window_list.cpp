#include "enum/window_list.h"

#include <oleauto.h>

#include <algorithm>

#include "geometry/number_text.h"

namespace {

struct SortKey {
    wchar_t text[kSortKeyChars + 1];
    int32_t value;
    LPARAM lParamRow;
};

struct RowKey {
    LPARAM lParamRow;
    const SortKey* pKey;
    bool operator<(const RowKey& other) const { return lParamRow < other.lParamRow; }
};

struct SortContext {
    uint16_t nKind;
    bool bDescending;
    // Keys by row data, in the order of the data, when every row's data is
    // distinct (then the rows' data need not change during the sort); empty
    // when the data point to the keys.
    const RowKey* pByRowData;
    size_t nRows;
};

const SortKey* FindKey(const SortContext& ctx, LPARAM lParam) {
    if (ctx.nRows == 0) {
        return reinterpret_cast<const SortKey*>(lParam);
    }
    return std::lower_bound(ctx.pByRowData, ctx.pByRowData + ctx.nRows, RowKey{lParam, nullptr})->pKey;
}

int CALLBACK CompareKeys(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    const auto* ctx = reinterpret_cast<const SortContext*>(lParamSort);
    const SortKey* a = FindKey(*ctx, lParam1);
    const SortKey* b = FindKey(*ctx, lParam2);
    int nCompare =
        ctx->nKind == kSortInteger ? CompareIntegerKeys(a->value, b->value) : ::lstrcmpW(a->text, b->text);
    return ApplySortDirection(nCompare, ctx->bDescending);
}

bool ParseInteger(const wchar_t* psz, int32_t* pValue) {
    LONG value = 0;
    if (FAILED(::VarI4FromStr(const_cast<OLECHAR*>(psz), LANG_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, &value))) {
        return false;
    }
    *pValue = value;
    return true;
}

LPARAM GetItemParam(const CListViewCtrl& list, int nItem) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    list.SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

BOOL SetItemParam(const CListViewCtrl& list, int nItem, LPARAM lParam) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = lParam;
    return list.SetItem(item);
}

}  // namespace

BOOL CSortListViewCtrl::ProcessWindowMessage(HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT&,
                                             DWORD dwMsgMapID) {
    if (dwMsgMapID != 0 || uMsg != WM_NOTIFY) {
        return FALSE;
    }
    const auto* pnmh = reinterpret_cast<const NMHEADERW*>(lParam);
    if ((pnmh->hdr.code == HDN_ITEMCLICKW || pnmh->hdr.code == HDN_ITEMCLICKA) &&
        pnmh->hdr.hwndFrom == GetHeader()) {
        OnHeaderItemClick(pnmh);
    }
    // The control still sees the click.
    return FALSE;
}

int CSortListViewCtrl::InsertColumn(int nCol, const wchar_t* pszText, int nFormat) {
    LVCOLUMNW col = {};
    col.mask = LVCF_FMT | LVCF_TEXT;
    col.fmt = nFormat;
    col.pszText = const_cast<wchar_t*>(pszText);
    int nIndex = static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, nCol, reinterpret_cast<LPARAM>(&col)));
    if (nIndex >= 0) {
        const size_t at = static_cast<size_t>(nIndex) < m_columnSortKinds.size() ? nIndex : m_columnSortKinds.size();
        if (!m_columnSortKinds.InsertAt(at, kSortText)) {
            // A column without its sort kind would shift the others' kinds.
            SendMessage(LVM_DELETECOLUMN, nIndex, 0);
            return -1;
        }
    }
    return nIndex;
}

void CSortListViewCtrl::SetColumnSortKind(int nCol, uint16_t nKind) {
    if (nCol >= 0 && static_cast<size_t>(nCol) < m_columnSortKinds.size()) {
        m_columnSortKinds[nCol] = nKind;
    }
}

bool CSortListViewCtrl::SortItems(int iColumn, bool bDescending) {
    if (iColumn < 0 || static_cast<size_t>(iColumn) >= m_columnSortKinds.size() ||
        m_columnSortKinds[iColumn] == kSortNone) {
        return false;
    }
    const uint16_t nKind = m_columnSortKinds[iColumn];
    const int nCount = GetItemCount();
    if (nCount < 2) {
        m_bSortDescending = bDescending;
        SetSortColumn(iColumn);
        return true;
    }
    // Keys are prepared once, so the comparison never goes back to the control.
    // The rows of a usual desktop need no memory for them. Without memory for
    // more, the rows keep their order: the header stops claiming one (the
    // column is kept for the next sort) and the beep says so.
    constexpr int kStackRows = 128;
    SortKey stackKeys[kStackRows];
    RowKey stackByRowData[kStackRows];
    CPodArray<SortKey> heapKeys;
    CPodArray<RowKey> heapByRowData;
    SortKey* keys = stackKeys;
    RowKey* byRowData = stackByRowData;
    if (nCount > kStackRows) {
        if (!heapKeys.Resize(static_cast<size_t>(nCount)) || !heapByRowData.Resize(static_cast<size_t>(nCount))) {
            const int iKept = m_iSortColumn;
            SetSortColumn(-1);
            m_iSortColumn = iKept;
            ::MessageBeep(MB_ICONHAND);
            return false;
        }
        keys = heapKeys.data();
        byRowData = heapByRowData.data();
    }
    HCURSOR hCursorPrev = nullptr;
    if (m_bUseWaitCursor) {
        hCursorPrev = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    }
    for (int i = 0; i < nCount; ++i) {
        wchar_t szCell[kSortKeyChars + 1] = {};
        GetCellText(i, iColumn, szCell, ARRAYSIZE(szCell));
        SortKey& key = keys[i];
        key.lParamRow = GetItemParam(*this, i);
        CopyTerminated(MakeTextKey(szCell), key.text, kSortKeyChars);
        key.value = nKind == kSortInteger ? MakeIntegerKey(szCell, ParseInteger) : 0;
        byRowData[i] = RowKey{key.lParamRow, &key};
    }
    RowKey* const byRowDataEnd = byRowData + nCount;
    std::sort(byRowData, byRowDataEnd);
    // Rows sharing their data cannot be told apart by it: let the data point
    // to the keys for the length of the sort instead.
    const bool bDataPointsToKeys = std::adjacent_find(byRowData, byRowDataEnd, [](const RowKey& a, const RowKey& b) {
                                       return a.lParamRow == b.lParamRow;
                                   }) != byRowDataEnd;
    SortContext ctx = {nKind, bDescending, byRowData, bDataPointsToKeys ? 0 : static_cast<size_t>(nCount)};
    if (bDataPointsToKeys) {
        for (int i = 0; i < nCount; ++i) {
            SetItemParam(*this, i, reinterpret_cast<LPARAM>(&keys[i]));
        }
    }
    const bool bSorted =
        SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&ctx), reinterpret_cast<LPARAM>(&CompareKeys)) != 0;
    for (int i = 0; bDataPointsToKeys && i < nCount; ++i) {
        const auto* pKey = reinterpret_cast<const SortKey*>(GetItemParam(*this, i));
        if (pKey != nullptr) {
            SetItemParam(*this, i, pKey->lParamRow);
        }
    }
    if (bSorted) {
        m_bSortDescending = bDescending;
        SetSortColumn(iColumn);
    }
    if (m_bUseWaitCursor) {
        ::SetCursor(hCursorPrev);
    }
    return bSorted;
}

void CSortListViewCtrl::GetCellText(int iItem, int iColumn, wchar_t* pszText, int cchText) const {
    LVITEMW item = {};
    item.iSubItem = iColumn;
    item.pszText = pszText;
    item.cchTextMax = cchText;
    SendMessage(LVM_GETITEMTEXTW, iItem, reinterpret_cast<LPARAM>(&item));
}

void CSortListViewCtrl::SetSortColumn(int iColumn) {
    const int iPrev = m_iSortColumn;
    m_iSortColumn = iColumn;
    HWND hWndHeader = GetHeader();
    if (hWndHeader == nullptr) {
        return;
    }
    HDITEMW hdi = {};
    hdi.mask = HDI_FORMAT;
    if (iPrev != iColumn && iPrev != -1 && Header_GetItem(hWndHeader, iPrev, &hdi)) {
        hdi.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        Header_SetItem(hWndHeader, iPrev, &hdi);
    }
    if (iColumn != -1 && Header_GetItem(hWndHeader, iColumn, &hdi)) {
        hdi.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        hdi.fmt |= m_bSortDescending ? HDF_SORTDOWN : HDF_SORTUP;
        Header_SetItem(hWndHeader, iColumn, &hdi);
    }
}

void CSortListViewCtrl::OnHeaderItemClick(const NMHEADERW* pnmh) {
    if (pnmh->iButton != 0) {
        return;
    }
    const int iOld = m_iSortColumn;
    const bool bDescending = DescendingAfterHeaderClick(pnmh->iItem, m_iSortColumn, m_bSortDescending);
    if (SortItems(pnmh->iItem, bDescending)) {
        NMSORTLISTVIEW nm = {};
        nm.hdr.hwndFrom = m_hWnd;
        nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        nm.hdr.code = LVN_SORTCOLUMNCHANGED;
        nm.iNewSortColumn = pnmh->iItem;
        nm.iOldSortColumn = iOld;
        ::SendMessageW(GetParent(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    }
}

BOOL CWindowList::SubclassWindow(HWND hWnd) {
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
    const int u = rcUnit.right;
    RECT rcClient = {};
    GetClientRect(&rcClient);
    const int cxTitle = rcClient.right - 32 * u - ::GetSystemMetrics(SM_CXVSCROLL);
    SendMessage(LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(static_cast<WORD>(cxTitle), 0));
    for (int i = 1; i < 5; ++i) {
        SendMessage(LVM_SETCOLUMNWIDTH, i, MAKELPARAM(static_cast<WORD>(8 * u), 0));
    }

    HIMAGELIST hImages = ::ImageList_Create(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           ILC_COLOR32 | ILC_MASK, 0, 10);
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hImages));
    return TRUE;
}

namespace {

// Owns the two bitmaps GetIconInfo hands out.
struct CIconBitmaps {
    ICONINFO ii = {};
    bool bValid = false;
    explicit CIconBitmaps(HICON hIcon) : bValid(::GetIconInfo(hIcon, &ii) != FALSE) {}
    ~CIconBitmaps() {
        if (ii.hbmMask != nullptr) {
            ::DeleteObject(ii.hbmMask);
        }
        if (ii.hbmColor != nullptr) {
            ::DeleteObject(ii.hbmColor);
        }
    }
    CIconBitmaps(const CIconBitmaps&) = delete;
    CIconBitmaps& operator=(const CIconBitmaps&) = delete;
};

}  // namespace

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
    ::ImageList_Remove(GetImageList(LVSIL_SMALL), -1);
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

int CWindowList::AddWindowItem(HWND hWnd, const RECT& rc) {
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

    int iImage = I_IMAGENONE;
    if (HICON hIcon = QuerySmallIcon(hWnd)) {
        const int iAdded = AppendIconCopy(GetImageList(LVSIL_SMALL), hIcon);
        if (iAdded >= 0) {
            iImage = iAdded;
        }
    }

    // The row's data goes in with the row: one message less per window, and no
    // moment in which a row exists without its window.
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = GetItemCount();
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
    return iItem == -1 ? nullptr : reinterpret_cast<HWND>(GetItemParam(*this, iItem));
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
