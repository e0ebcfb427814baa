#include "app_module.h"

CAppModule s_module;

HRESULT GetModulePath(HMODULE hModule, wchar_t* pszPath, DWORD cchPath) {
    const DWORD cch = ::GetModuleFileNameW(hModule, pszPath, cchPath);
    if (cch == 0) {
        return HResultFromLastError();
    }
    // A path that fills the buffer may have been cut short.
    if (cch >= cchPath) {
        return HResultFromWin32(ERROR_INSUFFICIENT_BUFFER);
    }
    return S_OK;
}

namespace {
template <class T>
BOOL AddUnique(CPodArray<T*>& list, T* p) {
    if (!list.Add(p)) {
        ::SetLastError(ERROR_OUTOFMEMORY);
        return FALSE;
    }
    return TRUE;
}

template <class T>
BOOL RemoveFirst(CPodArray<T*>& list, T* p) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == p) {
            list.RemoveAt(i);
            return TRUE;
        }
    }
    return FALSE;
}

class CCriticalSectionLock {
public:
    explicit CCriticalSectionLock(CRITICAL_SECTION& cs) : m_cs(cs) { ::EnterCriticalSection(&m_cs); }
    ~CCriticalSectionLock() { ::LeaveCriticalSection(&m_cs); }
    CCriticalSectionLock(const CCriticalSectionLock&) = delete;
    CCriticalSectionLock& operator=(const CCriticalSectionLock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};
}  // namespace

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* pFilter) { return AddUnique(m_aMsgFilter, pFilter); }
BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* pFilter) { return RemoveFirst(m_aMsgFilter, pFilter); }
BOOL CMessageLoop::AddIdleHandler(CIdleHandler* pHandler) { return AddUnique(m_aIdleHandler, pHandler); }
BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* pHandler) { return RemoveFirst(m_aIdleHandler, pHandler); }

int CMessageLoop::Run() {
    bool bDoIdle = true;
    int nIdleCount = 0;
    for (;;) {
        while (bDoIdle && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(nIdleCount++)) {
                bDoIdle = false;
            }
        }
        BOOL bRet = ::GetMessageW(&m_msg, nullptr, 0, 0);
        if (bRet == -1) {
            continue;
        }
        if (!bRet) {
            break;
        }
        if (!PreTranslateMessage(&m_msg)) {
            ::TranslateMessage(&m_msg);
            ::DispatchMessageW(&m_msg);
        }
        if (IsIdleMessage(&m_msg)) {
            bDoIdle = true;
            nIdleCount = 0;
        }
    }
    return static_cast<int>(m_msg.wParam);
}

BOOL CMessageLoop::PreTranslateMessage(MSG* pMsg) {
    // A filter may remove itself while it runs, so walk by index from the end.
    for (size_t i = m_aMsgFilter.size(); i > 0; --i) {
        if (i - 1 < m_aMsgFilter.size() && m_aMsgFilter[i - 1]->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMessageLoop::OnIdle(int) {
    for (size_t i = 0; i < m_aIdleHandler.size(); ++i) {
        m_aIdleHandler[i]->OnIdle();
    }
    return FALSE;
}

BOOL CMessageLoop::IsIdleMessage(const MSG* pMsg) {
    switch (pMsg->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118:  // the system timer that blinks the caret
        return FALSE;
    default:
        return TRUE;
    }
}

CAppModule::CAppModule() {
    ::InitializeCriticalSection(&m_csLoops);
}

CAppModule::~CAppModule() {
    ::DeleteCriticalSection(&m_csLoops);
}

HRESULT CAppModule::Init(HINSTANCE hInstance) {
    m_hInst = hInstance;
    m_dwMainThreadID = ::GetCurrentThreadId();
    CCriticalSectionLock lock(m_csLoops);
    m_loops.Clear();
    return S_OK;
}

void CAppModule::Term() {
    CCriticalSectionLock lock(m_csLoops);
    m_loops.Clear();
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* pMsgLoop) {
    CCriticalSectionLock lock(m_csLoops);
    if (!m_loops.Add(LoopEntry{::GetCurrentThreadId(), pMsgLoop})) {
        ::SetLastError(ERROR_OUTOFMEMORY);
        return FALSE;
    }
    return TRUE;
}

BOOL CAppModule::RemoveMessageLoop() {
    CCriticalSectionLock lock(m_csLoops);
    DWORD dwThreadID = ::GetCurrentThreadId();
    for (size_t i = 0; i < m_loops.size(); ++i) {
        if (m_loops[i].dwThreadID == dwThreadID) {
            m_loops.RemoveAt(i);
            return TRUE;
        }
    }
    return FALSE;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD dwThreadID) {
    CCriticalSectionLock lock(m_csLoops);
    for (const LoopEntry& entry : m_loops) {
        if (entry.dwThreadID == dwThreadID) {
            return entry.pLoop;
        }
    }
    return nullptr;
}
