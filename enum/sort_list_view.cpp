#include "enum/sort_list_view.h"

#include <oleauto.h>

#include <algorithm>
#include <cstdlib>

#include "win/alert.h"

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

int CompareRowData(const void* p1, const void* p2) {
    const LPARAM a = static_cast<const RowKey*>(p1)->lParamRow;
    const LPARAM b = static_cast<const RowKey*>(p2)->lParamRow;
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool ParseInteger(const wchar_t* psz, int32_t* pValue) {
    LONG value = 0;
    if (FAILED(::VarI4FromStr(const_cast<OLECHAR*>(psz), LANG_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, &value))) {
        return false;
    }
    *pValue = value;
    return true;
}

// Keys are prepared once, so the comparison never goes back to the control.
// The rows of a usual desktop need no memory for them.
class CSortKeyStore {
public:
    CSortKeyStore() = default;
    CSortKeyStore(const CSortKeyStore&) = delete;
    CSortKeyStore& operator=(const CSortKeyStore&) = delete;

    bool Reserve(int nCount) {
        if (nCount <= kStackRows) {
            return true;
        }
        if (!m_heapKeys.Resize(static_cast<size_t>(nCount)) ||
            !m_heapByRowData.Resize(static_cast<size_t>(nCount))) {
            return false;
        }
        keys = m_heapKeys.data();
        byRowData = m_heapByRowData.data();
        return true;
    }

    SortKey* keys = m_stackKeys;
    RowKey* byRowData = m_stackByRowData;

private:
    static constexpr int kStackRows = 128;
    SortKey m_stackKeys[kStackRows];
    RowKey m_stackByRowData[kStackRows];
    CPodArray<SortKey> m_heapKeys;
    CPodArray<RowKey> m_heapByRowData;
};

void ReadSortKeys(const CSortListViewCtrl& list, int iColumn, uint16_t nKind, CSortKeyStore& store, int nCount) {
    for (int i = 0; i < nCount; ++i) {
        wchar_t szCell[kSortKeyChars + 1] = {};
        list.GetCellText(i, iColumn, szCell, ARRAYSIZE(szCell));
        SortKey& key = store.keys[i];
        key.lParamRow = list.GetItemData(i);
        CopyTerminated(MakeTextKey(szCell), key.text, kSortKeyChars);
        key.value = nKind == kSortInteger ? MakeIntegerKey(szCell, ParseInteger) : 0;
        store.byRowData[i] = RowKey{key.lParamRow, &key};
    }
}

// Sorts the control's rows by the keys read; true when the control sorted.
bool SortByKeys(const CSortListViewCtrl& list, uint16_t nKind, bool bDescending, CSortKeyStore& store, int nCount) {
    RowKey* const byRowData = store.byRowData;
    RowKey* const byRowDataEnd = byRowData + nCount;
    // The C library's sort: the template's would cost the program a kilobyte
    // of code for an order of addresses that needs no speed.
    std::qsort(byRowData, static_cast<size_t>(nCount), sizeof(RowKey), CompareRowData);
    // Rows sharing their data cannot be told apart by it: let the data point
    // to the keys for the length of the sort instead.
    const bool bDataPointsToKeys = std::adjacent_find(byRowData, byRowDataEnd, [](const RowKey& a, const RowKey& b) {
                                       return a.lParamRow == b.lParamRow;
                                   }) != byRowDataEnd;
    SortContext ctx = {nKind, bDescending, byRowData, bDataPointsToKeys ? 0 : static_cast<size_t>(nCount)};
    for (int i = 0; bDataPointsToKeys && i < nCount; ++i) {
        list.SetItemData(i, reinterpret_cast<LPARAM>(&store.keys[i]));
    }
    const bool bSorted =
        list.SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&ctx), reinterpret_cast<LPARAM>(&CompareKeys)) != 0;
    for (int i = 0; bDataPointsToKeys && i < nCount; ++i) {
        const auto* pKey = reinterpret_cast<const SortKey*>(list.GetItemData(i));
        if (pKey != nullptr) {
            list.SetItemData(i, pKey->lParamRow);
        }
    }
    return bSorted;
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
    const int nCount = GetItemCount();
    if (nCount < 2) {
        m_bSortDescending = bDescending;
        SetSortColumn(iColumn);
        return true;
    }
    // Without memory for the keys the rows keep their order: the header stops
    // claiming one (the column is kept for the next sort) and the beep says so.
    CSortKeyStore store;
    if (!store.Reserve(nCount)) {
        const int iKept = m_iSortColumn;
        SetSortColumn(-1);
        m_iSortColumn = iKept;
        Alert(MB_ICONHAND);
        return false;
    }
    const HCURSOR hCursorPrev = m_bUseWaitCursor ? ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)) : nullptr;
    ReadSortKeys(*this, iColumn, m_columnSortKinds[iColumn], store, nCount);
    const bool bSorted = SortByKeys(*this, m_columnSortKinds[iColumn], bDescending, store, nCount);
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
