// The smallest useful dialog program: the baseline the program's start-up is compared with.
#include <windows.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM) {
    if (uMsg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        ::DestroyWindow(hWnd);
        return TRUE;
    }
    if (uMsg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return TRUE;
    }
    return uMsg == WM_INITDIALOG;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    struct {
        DLGTEMPLATE dlg;
        WORD menu, cls, title;
    } tmpl = {};
    tmpl.dlg.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    tmpl.dlg.cx = 200;
    tmpl.dlg.cy = 100;
    HWND hWnd = ::CreateDialogIndirectParamW(hInstance, &tmpl.dlg, nullptr, DialogProc, 0);
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
