#include "dialog_impl.h"

bool CDialogImplBase::ReturnsResultDirectly(UINT uMsg) {
    switch (uMsg) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC;
    }
}

HWND CDialogImplBase::CreateFromTemplate(HINSTANCE hInstance, UINT nTemplateId, HWND hWndParent) {
    if (m_hWnd != nullptr) {
        return nullptr;
    }
    return ::CreateDialogParamW(hInstance, MAKEINTRESOURCEW(nTemplateId), hWndParent, GetDialogProc(),
                                reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialogImplBase::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CDialogImplBase* pThis = nullptr;
    if (uMsg == WM_INITDIALOG) {
        pThis = reinterpret_cast<CDialogImplBase*>(lParam);
        pThis->m_hWnd = hWnd;
        ::SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(pThis));
    } else {
        pThis = reinterpret_cast<CDialogImplBase*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    }
    if (pThis == nullptr) {
        // Messages before WM_INITDIALOG (WM_SETFONT and the like) get default processing.
        return FALSE;
    }
    LRESULT lResult = 0;
    BOOL bHandled = pThis->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
    if (uMsg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, DWLP_USER, 0);
        pThis->m_hWnd = nullptr;
        pThis->OnFinalMessage(hWnd);
    }
    if (!bHandled) {
        return FALSE;
    }
    if (ReturnsResultDirectly(uMsg)) {
        return static_cast<INT_PTR>(lResult);
    }
    if (uMsg != WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
    }
    return TRUE;
}
