// Top-level windows owned by another thread than the test's, so the program
// treats them as foreign targets. The thread pumps messages until it ends.
#pragma once
#include <windows.h>

#include <string>

class CTargetThread {
public:
    CTargetThread();
    ~CTargetThread();
    CTargetThread(const CTargetThread&) = delete;
    CTargetThread& operator=(const CTargetThread&) = delete;

    // Creates a window of the thread's own class (with a small icon unless told otherwise).
    HWND Create(const std::wstring& title, DWORD dwStyle, DWORD dwExStyle, const RECT& rc, bool bIcon = true,
                HWND hWndOwner = nullptr);
    // The same, shown without being activated: any activation it counts is
    // then another program's doing, and no late focus change of the system's
    // takes the activation from the program under test.
    HWND CreateInactive(const std::wstring& title, DWORD dwStyle, const RECT& rc);
    void Destroy(HWND hWnd);
    void Show(HWND hWnd, int nCmdShow);
    // The window refuses to become smaller than this, as a program with a minimum size does.
    void SetMinTrackSize(HWND hWnd, int cx, int cy);
    // From now on the window resizes itself when it reaches a display of
    // another scale (the double's scale line), as per-monitor aware programs do:
    // inside the move, or dwLateMs later through its own queue.
    void RescaleAcrossScales(HWND hWnd, DWORD dwLateMs = 0);
    // After each move it is given, it moves back to where it is now, dwAfterMs later.
    void JumpBackAfterMoves(HWND hWnd, DWORD dwAfterMs);
    // Right after the next move it is given, its thread stops answering for that long.
    void HangAfterMoves(HWND hWnd, DWORD dwMilliseconds);
    // Inside its handling of the next move it is given, before the move takes effect.
    void HangInsideMoves(HWND hWnd, DWORD dwMilliseconds);
    // Its thread stops answering now, for that long; returns once it has.
    bool HangNow(HWND hWnd, DWORD dwMilliseconds);
    // Right after the next move it is given, it closes.
    void CloseAfterMoves(HWND hWnd);
    // Raises that many location-change events for the window from its own
    // thread, without moving it.
    void RaiseLocationEvents(HWND hWnd, int nCount);
    // How many moves or resizes it has been given by others.
    static int Moves(HWND hWnd);
    // How many times it became the active window.
    static int Activations(HWND hWnd);
    // The window the last move given by others placed it after (null: the top).
    static HWND LastInsertAfter(HWND hWnd);
    // The next icon query blocks the window's thread for the given time.
    void HangAtIconQuery(HWND hWnd, DWORD dwMilliseconds);
    DWORD ThreadId() const { return m_dwThreadId; }

private:
    static DWORD WINAPI ThreadProc(void* pv);
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    HANDLE m_hThread = nullptr;
    DWORD m_dwThreadId = 0;
    HWND m_hWndControl = nullptr;
    HANDLE m_hReady = nullptr;
};

// Whether the tests run under Wine (which exports this from ntdll) rather
// than on Windows. Asked once.
inline bool RunsUnderWine() {
    static const bool bWine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return bWine;
}

// Polls until pred() holds or the timeout passes. Nothing is dispatched: what
// the tests wait for happens on other threads and in other processes.
template <class Pred>
bool WaitUntil(Pred pred, DWORD dwTimeoutMs = 5000) {
    const ULONGLONG end = ::GetTickCount64() + dwTimeoutMs;
    for (;;) {
        if (pred()) return true;
        if (::GetTickCount64() > end) return false;
        ::Sleep(10);
    }
}
