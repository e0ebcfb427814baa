// The floor of the program's start-up: a dialog program with the same manifest
// (Common Controls 6, per-monitor aware) and a report list view, which it fills
// with the desktop's windows through the calls a refill cannot avoid.
// "floor_dialog minimal" shows the smallest dialog instead: no list, no calls.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "floor_calls.h"
#include "res/resource.h"

namespace {

void SetCell(HWND hList, int iRow, int iCol, const std::wstring& text) {
    LVITEMW item = {};
    item.iSubItem = iCol;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(hList, LVM_SETITEMTEXTW, iRow, reinterpret_cast<LPARAM>(&item));
}

BOOL CALLBACK AddRow(HWND h, LPARAM lParam) {
    const HWND hList = reinterpret_cast<HWND>(lParam);
    wchar_t title[256];
    RECT rc;
    if (!FloorCalls(h, title, &rc)) return TRUE;
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = title;
    item.lParam = reinterpret_cast<LPARAM>(h);
    const int iRow = static_cast<int>(::SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    const long values[4] = {rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top};
    for (int i = 0; i < 4; ++i) SetCell(hList, iRow, i + 1, std::to_wstring(values[i]));
    return TRUE;
}

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG: {
        HWND hList = ::GetDlgItem(hWnd, IDC_WINDOWS);
        if (lParam == 0) return TRUE;
        for (int i = 0; i < 5; ++i) {
            LVCOLUMNW col = {};
            col.mask = LVCF_WIDTH | LVCF_TEXT;
            col.cx = i == 0 ? 200 : 50;
            col.pszText = const_cast<wchar_t*>(i == 0 ? L"Title" : L"");
            ::SendMessageW(hList, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
        }
        ::EnumWindows(AddRow, reinterpret_cast<LPARAM>(hList));
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) ::DestroyWindow(hWnd);
        return TRUE;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int) {
    HWND hWnd = nullptr;
    if (lstrcmpW(lpCmdLine, L"minimal") == 0) {
        struct {
            DLGTEMPLATE dlg;
            WORD menu, cls, title;
        } tmpl = {};
        tmpl.dlg.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
        tmpl.dlg.cx = 200;
        tmpl.dlg.cy = 100;
        hWnd = ::CreateDialogIndirectParamW(hInstance, &tmpl.dlg, nullptr, DialogProc, 0);
    } else {
        INITCOMMONCONTROLSEX iccx = {sizeof(iccx), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&iccx);
        hWnd = ::CreateDialogParamW(hInstance, MAKEINTRESOURCEW(1), nullptr, DialogProc, 1);
    }
    if (hWnd == nullptr) {
        return 1;
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return 0;
}
