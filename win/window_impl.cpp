#include "window_impl.h"

#include "base/pod_array.h"

namespace {

// The objects behind subclassed windows, found by window handle on every
// message. A plain table in the process: no executable thunks, and none of the
// cost of window properties, which some systems keep outside the process.
class CHookTable {
public:
    CHookTable() { ::InitializeCriticalSection(&m_cs); }
    ~CHookTable() { ::DeleteCriticalSection(&m_cs); }
    CHookTable(const CHookTable&) = delete;
    CHookTable& operator=(const CHookTable&) = delete;

    CSubclassHook* Find(HWND hWnd) {
        ::EnterCriticalSection(&m_cs);
        CSubclassHook* p = nullptr;
        for (const Entry& entry : m_entries) {
            if (entry.hWnd == hWnd) {
                p = entry.pHook;
                break;
            }
        }
        ::LeaveCriticalSection(&m_cs);
        return p;
    }
    bool Add(HWND hWnd, CSubclassHook* p) {
        ::EnterCriticalSection(&m_cs);
        const bool bAdded = m_entries.Add(Entry{hWnd, p});
        ::LeaveCriticalSection(&m_cs);
        return bAdded;
    }
    void Remove(HWND hWnd) {
        ::EnterCriticalSection(&m_cs);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].hWnd == hWnd) {
                m_entries.RemoveAt(i);
                break;
            }
        }
        ::LeaveCriticalSection(&m_cs);
    }

private:
    CRITICAL_SECTION m_cs;
    struct Entry {
        HWND hWnd;
        CSubclassHook* pHook;
    };
    CPodArray<Entry> m_entries;
};

CHookTable& Hooks() {
    static CHookTable s_hooks;
    return s_hooks;
}

}  // namespace

CSubclassHook::~CSubclassHook() {
    Unhook();
}

BOOL CSubclassHook::Hook(HWND hWnd) {
    if (m_hWndHooked != nullptr || !::IsWindow(hWnd) || Hooks().Find(hWnd) != nullptr) {
        return FALSE;
    }
    if (!Hooks().Add(hWnd, this)) {
        return FALSE;
    }
    auto pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
    if (pfnOld == nullptr) {
        Hooks().Remove(hWnd);
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
    Hooks().Remove(hWnd);
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
    CSubclassHook* pThis = Hooks().Find(hWnd);
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
