// Thin wrappers over window handles: no ownership, no state beyond the handle.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/pod_array.h"
#include "base/wide_string.h"

class CWindow {
public:
    HWND m_hWnd = nullptr;

    CWindow() = default;
    explicit CWindow(HWND hWnd) : m_hWnd(hWnd) {}
    operator HWND() const { return m_hWnd; }
    bool IsAttached() const { return m_hWnd != nullptr; }

    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
    }
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    BOOL GetWindowRect(RECT* prc) const { return ::GetWindowRect(m_hWnd, prc); }
    BOOL GetClientRect(RECT* prc) const { return ::GetClientRect(m_hWnd, prc); }
    BOOL EnableWindow(BOOL bEnable = TRUE) const { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL ShowWindow(int nCmdShow) const { return ::ShowWindow(m_hWnd, nCmdShow); }

    // The window's text, of any length; false when the memory for it cannot be had.
    // Most texts fit a short buffer, and then one call does: asking for the
    // length first costs a second message to the window's thread.
    bool GetText(CWideString* pText) const {
        wchar_t szShort[256];
        const int cchShort = ::GetWindowTextW(m_hWnd, szShort, ARRAYSIZE(szShort));
        if (cchShort < static_cast<int>(ARRAYSIZE(szShort)) - 1) {
            return pText->Assign(std::wstring_view(szShort, static_cast<size_t>(cchShort > 0 ? cchShort : 0)));
        }
        pText->Truncate(0);
        const int cch = ::GetWindowTextLengthW(m_hWnd);
        if (cch <= 0) {
            return true;
        }
        CPodArray<wchar_t> buffer;
        if (!buffer.Resize(static_cast<size_t>(cch) + 1)) {
            return false;
        }
        const int cchRead = ::GetWindowTextW(m_hWnd, buffer.data(), cch + 1);
        return pText->Assign(std::wstring_view(buffer.data(), cchRead > 0 ? static_cast<size_t>(cchRead) : 0));
    }
};

// A top-down 32-bit DIB section for drawing icons into.
inline HBITMAP CreateDib32(HDC hdc, int cx, int cy) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    return ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
}

class CComboBox : public CWindow {
public:
    using CWindow::CWindow;
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nIndex) const { return static_cast<int>(SendMessage(CB_SETCURSEL, nIndex)); }
    int AddString(const wchar_t* psz) const {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz)));
    }
    // CB_ERR reads as null, so a missing entry and an entry without data look alike.
    DWORD_PTR GetItemData(int nIndex) const {
        LRESULT r = SendMessage(CB_GETITEMDATA, nIndex);
        return r == CB_ERR ? 0 : static_cast<DWORD_PTR>(r);
    }
    int SetItemData(int nIndex, DWORD_PTR data) const {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, nIndex, static_cast<LPARAM>(data)));
    }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
};

class CStatic : public CWindow {
public:
    using CWindow::CWindow;
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
    HICON SetIcon(HICON hIcon) const {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
    }
};

class CListViewCtrl : public CWindow {
public:
    using CWindow::CWindow;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    HWND GetHeader() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    HIMAGELIST GetImageList(int nType) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, nType));
    }
    BOOL SetItem(const LVITEMW& item) const {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItemText(int nItem, int nSubItem, const wchar_t* pszText) const {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = nItem;
        item.iSubItem = nSubItem;
        item.pszText = const_cast<wchar_t*>(pszText);
        return SetItem(item);
    }
    LPARAM GetItemData(int nItem) const {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.lParam;
    }
    BOOL SetItemData(int nItem, LPARAM lParam) const {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        item.lParam = lParam;
        return SetItem(item);
    }
    BOOL SetItemState(int nItem, UINT state, UINT mask) const {
        LVITEMW item = {};
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, nItem, reinterpret_cast<LPARAM>(&item)));
    }
};
