// The window list: a report-view list of candidate windows, sortable by column.
#pragma once
#include "base/pod_array.h"
#include "enum/sort_list_view.h"

class CWindowList : public CSortListViewCtrl {
public:
    // How long a window may take to hand over its icon before the refill moves on.
    static constexpr UINT kIconQueryTimeoutMs = 100;

    // Columns and icons sized for the scale the list is shown at.
    BOOL SubclassWindow(HWND hWnd, UINT nDpi);
    // The list now shows at another scale.
    void SetDpi(UINT nDpi);
    // Empties the rows and their images.
    void DeleteAllWindowItems();
    // bMarked: the row's icon carries the system's shield (the window needs more rights).
    int AddWindowItem(HWND hWnd, const RECT& rc, bool bMarked);
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
    int RowImage(HWND hWnd, bool bMarked);
    void AddShieldOverlay();
    void SizeColumns(UINT nDpi);
    void SizeImages(UINT nDpi);

    // Threads that did not answer the icon query since the last refill: a hung
    // thread stays hung, so it costs one timeout per refill, not one per window.
    // Few threads ever hang at once, so a list serves.
    CPodArray<DWORD> m_hungThreads;
    // The shield's image, or -1.
    int m_iShieldImage = -1;
    int m_cxNumberAtFirstDpi = 0;
    UINT m_nFirstDpi = USER_DEFAULT_SCREEN_DPI;
};

// Appends a copy of an icon to an image list; the image index, or -1.
int AppendIconCopy(HIMAGELIST hImages, HICON hIcon);
