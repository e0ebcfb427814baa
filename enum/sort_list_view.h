// A report-view list whose header clicks sort its rows by the clicked column.
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
