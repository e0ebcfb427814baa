// Starting the real executable and looking at its dialog from another process.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "target_windows.h"
#include "tests/dwm_double/frame_rule.h"

// The style of an ordinary sizable, visible top-level window.
constexpr DWORD kSizable = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

// The value fields, in the order "w,h,x,y".
constexpr int kFieldIds[4] = {IDC_WIDTH, IDC_HEIGHT, IDC_X, IDC_Y};

// A message sent to one of the program's windows; a program that does not
// answer within 15 s (crashed, or stuck) fails the test instead of holding it.
LRESULT SendToProgram(HWND hWnd, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);

// Full path of the executable under test (KELPO_EXE, else dist\ beside the working directory).
std::wstring KelpoPath();

// Memory in another process, for the list-view and header messages that the
// system does not carry across processes.
class CRemoteBuffer {
public:
    CRemoteBuffer(HANDLE hProcess, size_t cb);
    ~CRemoteBuffer();
    CRemoteBuffer(const CRemoteBuffer&) = delete;
    CRemoteBuffer& operator=(const CRemoteBuffer&) = delete;
    void* Address() const { return m_p; }
    bool Write(const void* pv, size_t cb, size_t offset = 0) const;
    bool Read(void* pv, size_t cb, size_t offset = 0) const;

private:
    HANDLE m_hProcess;
    void* m_p;
};

class CKelpo {
public:
    CKelpo() = default;
    ~CKelpo();  // ends the process by its handle if it still runs
    CKelpo(const CKelpo&) = delete;
    CKelpo& operator=(const CKelpo&) = delete;

    // argv0 replaces the quoted path as the command line's first word, as a
    // user typing a bare name would start it; pszDir is its current folder.
    bool Start(const std::wstring& args = L"", const std::wstring& exePath = KelpoPath(),
               const std::wstring& argv0 = L"", const wchar_t* pszDir = nullptr);
    // Takes on an instance that another one started (and ends it like its own).
    bool Attach(DWORD dwPid);
    // The process's visible dialog, or null when none appeared in time.
    HWND WaitForDialog(DWORD dwTimeoutMs = 10000);
    // The exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD WaitForExit(DWORD dwTimeoutMs = 10000);
    DWORD Pid() const { return m_pi.dwProcessId; }
    HANDLE Process() const { return m_pi.hProcess; }

    HWND Dlg() const { return m_hWndDlg; }
    HWND Item(int nId) const { return ::GetDlgItem(m_hWndDlg, nId); }
    std::wstring Text(int nId) const;
    std::wstring Title() const;
    bool Enabled(int nId) const { return ::IsWindowEnabled(Item(nId)) != FALSE; }
    void SetText(int nId, const std::wstring& text) const;
    void Click(int nId) const { SendToProgram(Item(nId), BM_CLICK); }
    LRESULT Command(WORD wId, WORD wCode = 0) const {
        return SendToProgram(m_hWndDlg, WM_COMMAND, MAKEWPARAM(wId, wCode));
    }
    // Queues a command as a click does, and returns at once.
    void PostCommand(WORD wId) const { ::PostMessageW(m_hWndDlg, WM_COMMAND, MAKEWPARAM(wId, 0), 0); }
    // Queues input behind everything queued before and waits until the dialog
    // has taken it: the milliseconds since 'since', or ~0u when it never did.
    // (A thread blocked in a call answers messages sent to it, so only input
    // that is queued shows whether the dialog is free.)
    DWORD WaitForQueuedInput(ULONGLONG since, DWORD dwTimeoutMs = 5000) const;
    RECT Rect(int nId) const;

    // The window list, read through memory in the program's process.
    int RowCount() const;
    std::wstring Cell(int iRow, int iCol) const;
    HWND RowWindow(int iRow) const;
    int FindRow(HWND hWnd) const;
    void SelectRow(int iRow) const;
    // Selects the window's row; false when it has none or the selection did not take.
    bool SelectWindow(HWND hWnd) const;
    void ClearSelection() const;
    int SelectedRow() const;
    int HeaderFormat(int iCol) const;
    RECT HeaderItemRect(int iCol) const;
    // Clicks a column's header with the real mouse; true once its arrow shows fmtArrow.
    bool ClickHeader(int iCol, int fmtArrow) const;
    // Waits until a field's drop-down list is open (or closed).
    bool WaitForDropDown(int nId, bool bOpen) const;
    void SetFields(const wchar_t* w, const wchar_t* h, const wchar_t* x, const wchar_t* y) const;
    // The four fields as "w,h,x,y".
    std::wstring Fields() const;
    std::wstring RowNumbers(int iRow) const;
    // Picks the About item of the window menu; the box, or null when none appeared in time.
    HWND OpenAboutBox() const;
    // The box the program shows over its dialog, or null when none appeared in time.
    HWND WaitForBox() const;
    // The window with the keyboard focus in the program's thread.
    HWND Focus() const;
    // The field (combo box) that holds the focus, or 0.
    int FocusedField() const;

private:
    void SetRowState(int iRow, UINT state) const;

    PROCESS_INFORMATION m_pi = {};
    HWND m_hWndDlg = nullptr;
};

// A window in a process of its own (this test program, started again) that
// declares its process's integrity level to the program's test build with the
// rights stand-in. The process is ended by its handle when this goes.
class CDeclaredTarget {
public:
    CDeclaredTarget(DWORD dwLevel, const RECT& rc);
    ~CDeclaredTarget();
    CDeclaredTarget(const CDeclaredTarget&) = delete;
    CDeclaredTarget& operator=(const CDeclaredTarget&) = delete;
    HWND Window() const { return m_hWnd; }

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hWnd = nullptr;
};
// The declared target's side, when this program was started as one; else -1.
int RunAsDeclaredTarget(int argc, wchar_t** argv);

// Runs the program with a switch to its end; closes any message box and says
// whether one came. The exit code, or 0xFFFFFFFF when it did not start.
DWORD RunSwitch(const wchar_t* args, bool* pBoxShown = nullptr, const std::wstring& exe = KelpoPath());

// Top-level visible windows of a class that belong to a process.
std::vector<HWND> ProcessWindows(DWORD dwPid, const wchar_t* pszClass);

// Real input through the system's queue.
void SendKey(WORD vk, bool bShift = false, bool bAlt = false);
// A mouse event at screen point (x, y) of the virtual desktop, plus dwFlags.
INPUT MouseInputAt(int x, int y, DWORD dwFlags);
void MouseClickAt(int x, int y, bool bRight = false);
bool MakeForeground(HWND hWnd);

std::wstring RectText(const RECT& rc);
RECT WindowRect(HWND hWnd);
// Whether the program under test finds the window manager's test double
// (never on Windows, which has the real one).
bool DoubleInPlace();
// The visible frame the program should see for a window: the double's rule
// when it is in place; on Windows the window manager's extended frame; under
// Wine without the double the window rectangle.
RECT VisibleFrame(HWND hWnd);
// Cloaks a window of the test's, or uncloaks it: through the window manager
// double's property under Wine, through the window manager on Windows.
void Cloak(HWND hWnd, bool bCloak);
// A case that needs one of the Wine runs' doubles (or their settings) is
// skipped on Windows, saying which.
#define KELPO_SKIP_ON_WINDOWS(what) \
    if (!RunsUnderWine()) GTEST_SKIP() << "needs " << (what) << ", which only the Wine runs have"
// Readies a Windows desktop for the tests (see preflight.cpp); 0 when ready.
int RunPreflight();
// "w,h,x,y" of a rectangle, as the fields and the list rows show it.
std::wstring SizePosText(const RECT& rc);
