#include "dialog/target_watcher.h"

CTargetWatcher* CTargetWatcher::s_pWatcher = nullptr;

bool CTargetWatcher::Watch(HWND hWnd) {
    Stop();
    DWORD dwProcessId = 0;
    if (::GetWindowThreadProcessId(hWnd, &dwProcessId) == 0) {
        return false;
    }
    m_hHook = ::SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, nullptr, OnWinEvent,
                                dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
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

void CTargetWatcher::Settle(DWORD dwQuietMs, DWORD dwMaxMs) {
    const ULONGLONG end = ::GetTickCount64() + dwMaxMs;
    ULONGLONG quietFrom = ::GetTickCount64();
    UINT nSeen = m_nChanges;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        if (m_nChanges != nSeen) {
            nSeen = m_nChanges;
            quietFrom = now;
        }
        const ULONGLONG until = quietFrom + dwQuietMs < end ? quietFrom + dwQuietMs : end;
        if (now >= until) {
            break;
        }
        if (::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(until - now), QS_SENDMESSAGE, 0) ==
            WAIT_OBJECT_0) {
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

void CALLBACK CTargetWatcher::OnWinEvent(HWINEVENTHOOK hHook, DWORD, HWND hWnd, LONG idObject, LONG idChild, DWORD,
                                         DWORD) {
    CTargetWatcher* self = s_pWatcher;
    // A report queued before the hook went can still arrive.
    if (self == nullptr || hHook != self->m_hHook || hWnd != self->m_hWnd || idObject != OBJID_WINDOW ||
        idChild != CHILDID_SELF) {
        return;
    }
    ++self->m_nChanges;
    self->m_pSite->OnTargetLocationChange();
}
