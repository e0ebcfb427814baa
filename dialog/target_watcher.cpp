#include "dialog/target_watcher.h"

CTargetWatcher* CTargetWatcher::s_pWatcher = nullptr;

bool CTargetWatcher::Watch(HWND hWnd) {
    Stop();
    DWORD dwProcessId = 0;
    const DWORD dwThreadId = ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwThreadId == 0) {
        return false;
    }
    // The target's thread raises its moves; the rest of its process (all of the
    // shell's, for a folder window) need not reach us. Some systems refuse a
    // thread filter: then the process's reports come, and the callback drops
    // every other window's first thing.
    m_hHook = ::SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, nullptr, OnWinEvent,
                                dwProcessId, dwThreadId, WINEVENT_OUTOFCONTEXT);
    if (m_hHook == nullptr) {
        m_hHook = ::SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, nullptr, OnWinEvent,
                                    dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    }
    if (m_hHook == nullptr) {
        return false;
    }
    m_hWnd = hWnd;
    s_pWatcher = this;
    return true;
}

void CTargetWatcher::Stop() {
    if (m_hHook != nullptr) {
        ::UnhookWinEvent(m_hHook);
        m_hHook = nullptr;
    }
    m_hWnd = nullptr;
    if (s_pWatcher == this) {
        s_pWatcher = nullptr;
    }
}

void CALLBACK CTargetWatcher::OnWinEvent(HWINEVENTHOOK hHook, DWORD, HWND hWnd, LONG idObject, LONG idChild, DWORD,
                                         DWORD) {
    CTargetWatcher* self = s_pWatcher;
    // A report queued before the hook went can still arrive.
    if (self == nullptr || hWnd != self->m_hWnd || hHook != self->m_hHook || idObject != OBJID_WINDOW ||
        idChild != CHILDID_SELF) {
        return;
    }
    self->m_pSite->OnTargetLocationChange();
}
