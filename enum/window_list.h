// The window list: a report-view list of candidate windows, sortable by column.
#pragma once
#include <set>
#include <string>
#include <vector>

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
    std::vector<uint16_t> m_columnSortKinds;
    bool m_bUseWaitCursor = true;

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID) override;

    // Inserts a column; every new column sorts as text until told otherwise.
    int InsertColumn(int nCol, const wchar_t* pszText, int nFormat);
    void SetColumnSortKind(int nCol, uint16_t nKind);
    bool SortItems(int iColumn, bool bDescending);
    void SetSortColumn(int iColumn);

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
    int FindWindowItem(HWND hWnd) const;
    void SelectWindowItem(int iItem);

private:
    // Appends copies of icons to the image list through one reusable bitmap.
    // ImageList_ReplaceIcon does the same, but some implementations take
    // milliseconds per icon, which a refill of a full desktop cannot afford.
    class CIconCopier {
    public:
        CIconCopier() = default;
        ~CIconCopier();
        CIconCopier(const CIconCopier&) = delete;
        CIconCopier& operator=(const CIconCopier&) = delete;
        int Append(HIMAGELIST hImages, HICON hIcon);

    private:
        void Release();
        HDC m_hdc = nullptr;
        HBITMAP m_hbmImage = nullptr;
        HBITMAP m_hbmMask = nullptr;
        int m_cx = 0;
        int m_cy = 0;
    };

    HICON QuerySmallIcon(HWND hWnd);

    // Threads that did not answer the icon query since the last refill: a hung
    // thread stays hung, so it costs one timeout per refill, not one per window.
    std::set<DWORD> m_hungThreads;
    CIconCopier m_iconCopier;
};
