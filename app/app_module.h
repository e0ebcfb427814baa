// The application module, the thread's message loop and the interfaces the loop calls.
#pragma once
#include <windows.h>

#include "base/hresult.h"
#include "base/pod_array.h"

class CMessageFilter {
public:
    virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    virtual BOOL OnIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    CPodArray<CMessageFilter*> m_aMsgFilter;
    CPodArray<CIdleHandler*> m_aIdleHandler;
    MSG m_msg = {};

    virtual ~CMessageLoop() = default;

    BOOL AddMessageFilter(CMessageFilter* pFilter);
    BOOL RemoveMessageFilter(CMessageFilter* pFilter);
    BOOL AddIdleHandler(CIdleHandler* pHandler);
    BOOL RemoveIdleHandler(CIdleHandler* pHandler);

    // Runs until WM_QUIT and returns its exit code.
    int Run();

    // Offers the message to the filters, last added first.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnIdle(int nIdleCount);
    virtual BOOL IsIdleMessage(const MSG* pMsg);
};

class CAppModule {
public:
    HINSTANCE m_hInst = nullptr;
    DWORD m_dwMainThreadID = 0;

    CAppModule();
    ~CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    HRESULT Init(HINSTANCE hInstance);
    void Term();
    HINSTANCE GetResourceInstance() const { return m_hInst; }

    // Registers the calling thread's loop; FALSE with the last error set when it cannot grow.
    BOOL AddMessageLoop(CMessageLoop* pMsgLoop);
    BOOL RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD dwThreadID = ::GetCurrentThreadId());

    // Runs the registration script of the REGISTRY resource in register or unregister mode.
    HRESULT ApplyRegistrationScript(UINT nResId, BOOL bRegister);

private:
    CRITICAL_SECTION m_csLoops;
    struct LoopEntry {
        DWORD dwThreadID;
        CMessageLoop* pLoop;
    };
    CPodArray<LoopEntry> m_loops;
};

extern CAppModule s_module;

// The calling thread's last error as an HRESULT; E_FAIL when a failed call left none.
inline HRESULT HResultFromLastError() {
    return HResultFromFailedCall(::GetLastError());
}

// The module's full path; 0x8007007A when it fills the buffer (it may be cut short).
HRESULT GetModulePath(HMODULE hModule, wchar_t* pszPath, DWORD cchPath);
