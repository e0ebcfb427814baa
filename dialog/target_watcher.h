// Where the selected window is now, whoever moved it. The system reports every
// move of a top-level window as a location change; the hook takes those of the
// target's thread out of context, so nothing is sent to the target and no
// timer runs. The reports come as the dialog's thread takes its messages.
#pragma once
#include <windows.h>

class CTargetWatcherSite {
public:
    virtual void OnTargetLocationChange() = 0;

protected:
    ~CTargetWatcherSite() = default;
};

class CTargetWatcher {
public:
    explicit CTargetWatcher(CTargetWatcherSite* pSite) : m_pSite(pSite) {}
    ~CTargetWatcher() { Stop(); }
    CTargetWatcher(const CTargetWatcher&) = delete;
    CTargetWatcher& operator=(const CTargetWatcher&) = delete;

    // False when the system would not report the window's moves.
    bool Watch(HWND hWnd);
    void Stop();

private:
    static void CALLBACK OnWinEvent(HWINEVENTHOOK hHook, DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild,
                                    DWORD dwThread, DWORD dwTime);

    CTargetWatcherSite* m_pSite;
    HWND m_hWnd = nullptr;
    HWINEVENTHOOK m_hHook = nullptr;
    // The hook's callback has no context of its own; one dialog per process watches.
    static CTargetWatcher* s_pWatcher;
};
