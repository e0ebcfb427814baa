// The window list: a report-view list of candidate windows, sortable by column.
#pragma once
#include "base/pod_array.h"
#include "enum/sort_keys.h"
#include "win/window_impl.h"

// Code of the notification a header click that sorted sends to the parent.
constexpr UINT LVN_SORTCOLUMNCHANGED = LVN_FIRST - 99;

struct NMSORTLISTVIEW {
    NMHDR hdr;
    int iNewSortColumn;
    int iOldSortColumn;
};

// A list view whose header clicks sort its rows by the clicked column.
class CSortListViewCtrl : public CWindowImpl<CSortListViewCtrl, CListViewCtrl> {
public:
    int m_iSortColumn = -1;
    bool m_bSortDescending = false;
    CPodArray<uint16_t> m_columnSortKinds;
    bool m_bUseWaitCursor = true;

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID) override;

    // Inserts a column; every new column sorts as text until told otherwise.
    int InsertColumn(int nCol, const wchar_t* pszText, int nFormat);
    void SetColumnSortKind(int nCol, uint16_t nKind);
    bool SortItems(int iColumn, bool bDescending);
    void SetSortColumn(int iColumn);
    void GetCellText(int iItem, int iColumn, wchar_t* pszText, int cchText) const;

private:
    void OnHeaderItemClick(const NMHEADERW* pnmh);
};

class CWindowList : public CSortListViewCtrl {
public:
    // How long a window may take to hand over its icon before the refill moves on.
    static constexpr UINT kIconQueryTimeoutMs = 100;

    BOOL SubclassWindow(HWND hWnd);
    // Empties the rows and their images.
    void DeleteAllWindowItems();
    int AddWindowItem(HWND hWnd, const RECT& rc);
    BOOL SetItemRect(int iItem, const RECT& rc);
    // Writes the row's numbers and puts the row back in order when the sorted
    // column's value changed.
    void UpdateItemRect(int iItem, const RECT& rc);
    // The selected row's window, or null.
    HWND SelectedWindow() const;
    int FindWindowItem(HWND hWnd) const;
    void SelectWindowItem(int iItem);

private:
    HICON QuerySmallIcon(HWND hWnd);

    // Threads that did not answer the icon query since the last refill: a hung
    // thread stays hung, so it costs one timeout per refill, not one per window.
    // Few threads ever hang at once, so a list serves.
    CPodArray<DWORD> m_hungThreads;
};

// Appends a copy of an icon to an image list; the image index, or -1.
int AppendIconCopy(HIMAGELIST hImages, HICON hIcon);
