#include "window_impl.h"

namespace {
// The object behind a subclassed window is found through a window property, so
// no executable thunk is needed and any number of windows can be hooked.
const wchar_t kObjectProperty[] = L"Kelpo.SubclassHook";
}  // namespace

CSubclassHook::~CSubclassHook() {
    Unhook();
}

BOOL CSubclassHook::Hook(HWND hWnd) {
    if (m_hWndHooked != nullptr || !::IsWindow(hWnd) || ::GetPropW(hWnd, kObjectProperty) != nullptr) {
        return FALSE;
    }
    if (!::SetPropW(hWnd, kObjectProperty, this)) {
        return FALSE;
    }
    auto pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
    if (pfnOld == nullptr) {
        ::RemovePropW(hWnd, kObjectProperty);
        return FALSE;
    }
    m_pfnSuperWindowProc = pfnOld;
    m_hWndHooked = hWnd;
    return TRUE;
}

HWND CSubclassHook::Unhook() {
    HWND hWnd = m_hWndHooked;
    if (hWnd == nullptr) {
        return nullptr;
    }
    // Only put the old procedure back if nobody subclassed the window after us;
    // otherwise their chain would break.
    if (::IsWindow(hWnd) &&
        ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc)) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuperWindowProc));
    }
    ::RemovePropW(hWnd, kObjectProperty);
    m_hWndHooked = nullptr;
    return hWnd;
}

LRESULT CSubclassHook::CallSuper(UINT uMsg, WPARAM wParam, LPARAM lParam) const {
    if (m_pfnSuperWindowProc == nullptr) {
        return 0;
    }
    return ::CallWindowProcW(m_pfnSuperWindowProc, m_hWndHooked, uMsg, wParam, lParam);
}

LRESULT CALLBACK CSubclassHook::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* pThis = static_cast<CSubclassHook*>(::GetPropW(hWnd, kObjectProperty));
    if (pThis == nullptr) {
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    MSG msg = {hWnd, uMsg, wParam, lParam, 0, {0, 0}};
    const MSG* pOldMsg = pThis->m_pCurrentMsg;
    pThis->m_pCurrentMsg = &msg;
    LRESULT lResult = 0;
    BOOL bHandled = pThis->Dispatch(hWnd, uMsg, wParam, lParam, lResult);
    pThis->m_pCurrentMsg = pOldMsg;
    if (!bHandled) {
        lResult = pThis->CallSuper(uMsg, wParam, lParam);
    }
    if (uMsg == WM_NCDESTROY && pThis->m_hWndHooked == hWnd) {
        pThis->Unhook();
        pThis->Unhooked(hWnd);
    }
    return lResult;
}

BOOL CContainedWindow::SubclassWindow(HWND hWnd) {
    if (m_hWnd != nullptr || !Hook(hWnd)) {
        return FALSE;
    }
    m_hWnd = hWnd;
    return TRUE;
}

BOOL CContainedWindow::Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    return m_pObject->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, m_dwMsgMapID);
}
