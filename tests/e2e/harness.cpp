#include "harness.h"

#include <dwmapi.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "win/system_library.h"

LRESULT SendToProgram(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(hWnd, uMsg, wParam, lParam, SMTO_NORMAL, 15000, &result) &&
        ::GetLastError() == ERROR_TIMEOUT) {
        ADD_FAILURE() << "the program did not answer message 0x" << std::hex << uMsg << " within 15 s";
    }
    return static_cast<LRESULT>(result);
}

std::wstring KelpoPath() {
    if (const wchar_t* psz = _wgetenv(L"KELPO_EXE")) {
        return psz;
    }
    wchar_t szDir[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, szDir);
    return std::wstring(szDir) + L"\\dist\\" + KELPO_EXE_NAME;
}

CRemoteBuffer::CRemoteBuffer(HANDLE hProcess, size_t cb)
    : m_hProcess(hProcess), m_p(::VirtualAllocEx(hProcess, nullptr, cb, MEM_COMMIT, PAGE_READWRITE)) {}

CRemoteBuffer::~CRemoteBuffer() {
    if (m_p != nullptr) {
        ::VirtualFreeEx(m_hProcess, m_p, 0, MEM_RELEASE);
    }
}

bool CRemoteBuffer::Write(const void* pv, size_t cb, size_t offset) const {
    SIZE_T done = 0;
    return ::WriteProcessMemory(m_hProcess, static_cast<char*>(m_p) + offset, pv, cb, &done) && done == cb;
}

bool CRemoteBuffer::Read(void* pv, size_t cb, size_t offset) const {
    SIZE_T done = 0;
    return ::ReadProcessMemory(m_hProcess, static_cast<char*>(m_p) + offset, pv, cb, &done) && done == cb;
}

namespace {
// A process a test started or took on: ended if it still runs, its handles closed.
void EndProcess(const PROCESS_INFORMATION& pi) {
    if (pi.hProcess == nullptr) {
        return;
    }
    if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(pi.hProcess, 0xDEAD);
        ::WaitForSingleObject(pi.hProcess, 5000);
    }
    ::CloseHandle(pi.hProcess);
    if (pi.hThread != nullptr) {
        ::CloseHandle(pi.hThread);
    }
}
}  // namespace

CKelpo::~CKelpo() { EndProcess(m_pi); }

bool CKelpo::Start(const std::wstring& args, const std::wstring& exePath, const std::wstring& argv0,
                   const wchar_t* pszDir) {
    std::wstring cmd = argv0.empty() ? L"\"" + exePath + L"\"" : argv0;
    if (!args.empty()) {
        cmd += L" " + args;
    }
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (::CreateProcessW(exePath.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, pszDir, &si, &m_pi)) {
        return true;
    }
    // Paths beyond MAX_PATH are started through the long-path prefix.
    const std::wstring longPath = L"\\\\?\\" + exePath;
    return ::CreateProcessW(longPath.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, pszDir, &si, &m_pi) !=
           FALSE;
}

namespace {
struct ProcessWindowsQuery {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND hWnd, LPARAM lParam) {
    auto* q = reinterpret_cast<ProcessWindowsQuery*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    if (pid == q->pid && ::IsWindowVisible(hWnd) && lstrcmpiW(szClass, q->cls) == 0) {
        q->found.push_back(hWnd);
    }
    return TRUE;
}
}  // namespace

std::vector<HWND> ProcessWindows(DWORD dwPid, const wchar_t* pszClass) {
    ProcessWindowsQuery q = {dwPid, pszClass, {}};
    ::EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

bool CKelpo::Attach(DWORD dwPid) {
    m_pi.hProcess = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, dwPid);
    m_pi.dwProcessId = dwPid;
    return m_pi.hProcess != nullptr;
}

HWND CKelpo::WaitForDialog(DWORD dwTimeoutMs) {
    WaitUntil(
        [&] {
            for (HWND h : ProcessWindows(m_pi.dwProcessId, L"#32770")) {
                if (::GetDlgItem(h, IDC_WINDOWS) != nullptr) {
                    m_hWndDlg = h;
                    return true;
                }
            }
            return ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0;
        },
        dwTimeoutMs);
    return m_hWndDlg;
}

DWORD CKelpo::WaitForExit(DWORD dwTimeoutMs) {
    WaitUntil([&] { return ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0; }, dwTimeoutMs);
    DWORD dwCode = STILL_ACTIVE;
    ::GetExitCodeProcess(m_pi.hProcess, &dwCode);
    return dwCode;
}

DWORD CKelpo::WaitForQueuedInput(ULONGLONG since, DWORD dwTimeoutMs) const {
    // The list's hover time: queued, unused without hot tracking, kept when
    // the rows are rebuilt, and read back by a sent message.
    const HWND hList = Item(IDC_WINDOWS);
    DWORD_PTR hover = 0;
    ::SendMessageTimeoutW(hList, LVM_GETHOVERTIME, 0, 0, SMTO_NORMAL, dwTimeoutMs, &hover);
    const LRESULT mark = hover == 1000 ? 1001 : 1000;
    ::PostMessageW(hList, LVM_SETHOVERTIME, 0, mark);
    const bool bTaken = WaitUntil(
        [&] {
            DWORD_PTR result = 0;
            return ::SendMessageTimeoutW(hList, LVM_GETHOVERTIME, 0, 0, SMTO_NORMAL, 50, &result) != 0 &&
                   static_cast<LRESULT>(result) == mark;
        },
        dwTimeoutMs);
    return bTaken ? static_cast<DWORD>(::GetTickCount64() - since) : ~0u;
}

std::wstring CKelpo::Text(int nId) const {
    wchar_t sz[1024] = {};
    SendToProgram(Item(nId), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(sz));
    return sz;
}

std::wstring CKelpo::Title() const {
    wchar_t sz[256] = {};
    SendToProgram(m_hWndDlg, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(sz));
    return sz;
}

void CKelpo::SetText(int nId, const std::wstring& text) const {
    SendToProgram(Item(nId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

RECT CKelpo::Rect(int nId) const {
    RECT rc = {};
    ::GetWindowRect(nId == 0 ? m_hWndDlg : Item(nId), &rc);
    return rc;
}

int CKelpo::RowCount() const {
    return static_cast<int>(SendToProgram(Item(IDC_WINDOWS), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring CKelpo::Cell(int iRow, int iCol) const {
    constexpr size_t kChars = 1024;
    CRemoteBuffer buf(m_pi.hProcess, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = iCol;
    item.cchTextMax = kChars;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buf.Address()) + sizeof(LVITEMW));
    buf.Write(&item, sizeof(item));
    SendToProgram(Item(IDC_WINDOWS), LVM_GETITEMTEXTW, iRow, reinterpret_cast<LPARAM>(buf.Address()));
    wchar_t sz[kChars] = {};
    buf.Read(sz, sizeof(sz) - sizeof(wchar_t), sizeof(LVITEMW));
    return sz;
}

HWND CKelpo::RowWindow(int iRow) const {
    CRemoteBuffer buf(m_pi.hProcess, sizeof(LVITEMW));
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = iRow;
    buf.Write(&item, sizeof(item));
    SendToProgram(Item(IDC_WINDOWS), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buf.Address()));
    buf.Read(&item, sizeof(item));
    return reinterpret_cast<HWND>(item.lParam);
}

int CKelpo::FindRow(HWND hWnd) const {
    for (int i = 0; i < RowCount(); ++i) {
        if (RowWindow(i) == hWnd) return i;
    }
    return -1;
}

void CKelpo::SetRowState(int iRow, UINT state) const {
    CRemoteBuffer buf(m_pi.hProcess, sizeof(LVITEMW));
    LVITEMW item = {};
    item.state = state;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    buf.Write(&item, sizeof(item));
    SendToProgram(Item(IDC_WINDOWS), LVM_SETITEMSTATE, iRow, reinterpret_cast<LPARAM>(buf.Address()));
}

void CKelpo::SelectRow(int iRow) const {
    SetRowState(iRow, LVIS_SELECTED | LVIS_FOCUSED);
}

bool CKelpo::SelectWindow(HWND hWnd) const {
    const int iRow = FindRow(hWnd);
    if (iRow < 0) {
        return false;
    }
    SelectRow(iRow);
    return SelectedRow() == FindRow(hWnd);
}

void CKelpo::ClearSelection() const {
    SetRowState(-1, 0);
}

int CKelpo::SelectedRow() const {
    return static_cast<int>(
        SendToProgram(Item(IDC_WINDOWS), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int CKelpo::HeaderFormat(int iCol) const {
    HWND hWndHeader = reinterpret_cast<HWND>(SendToProgram(Item(IDC_WINDOWS), LVM_GETHEADER, 0, 0));
    CRemoteBuffer buf(m_pi.hProcess, sizeof(HDITEMW));
    HDITEMW hdi = {};
    hdi.mask = HDI_FORMAT;
    buf.Write(&hdi, sizeof(hdi));
    SendToProgram(hWndHeader, HDM_GETITEMW, iCol, reinterpret_cast<LPARAM>(buf.Address()));
    buf.Read(&hdi, sizeof(hdi));
    return hdi.fmt;
}

RECT CKelpo::HeaderItemRect(int iCol) const {
    HWND hWndHeader = reinterpret_cast<HWND>(SendToProgram(Item(IDC_WINDOWS), LVM_GETHEADER, 0, 0));
    CRemoteBuffer buf(m_pi.hProcess, sizeof(RECT));
    RECT rc = {};
    SendToProgram(hWndHeader, HDM_GETITEMRECT, iCol, reinterpret_cast<LPARAM>(buf.Address()));
    buf.Read(&rc, sizeof(rc));
    ::MapWindowPoints(hWndHeader, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool CKelpo::ClickHeader(int iCol, int fmtArrow) const {
    if (!MakeForeground(m_hWndDlg)) {
        return false;
    }
    const RECT rc = HeaderItemRect(iCol);
    MouseClickAt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    return WaitUntil([&] { return (HeaderFormat(iCol) & fmtArrow) != 0; });
}

bool CKelpo::WaitForDropDown(int nId, bool bOpen) const {
    return WaitUntil([&] { return (SendToProgram(Item(nId), CB_GETDROPPEDSTATE, 0, 0) != 0) == bOpen; });
}

void CKelpo::SetFields(const wchar_t* w, const wchar_t* h, const wchar_t* x, const wchar_t* y) const {
    const wchar_t* texts[4] = {w, h, x, y};
    for (int i = 0; i < 4; ++i) {
        SetText(kFieldIds[i], texts[i]);
    }
}

std::wstring CKelpo::Fields() const {
    return Text(IDC_WIDTH) + L"," + Text(IDC_HEIGHT) + L"," + Text(IDC_X) + L"," + Text(IDC_Y);
}

std::wstring CKelpo::RowNumbers(int iRow) const {
    return Cell(iRow, 1) + L"," + Cell(iRow, 2) + L"," + Cell(iRow, 3) + L"," + Cell(iRow, 4);
}

void SendKey(WORD vk, bool bShift, bool bAlt) {
    std::vector<INPUT> inputs;
    auto key = [&](WORD k, bool bUp) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = k;
        in.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (bShift) key(VK_SHIFT, false);
    if (bAlt) key(VK_MENU, false);
    key(vk, false);
    key(vk, true);
    if (bAlt) key(VK_MENU, true);
    if (bShift) key(VK_SHIFT, true);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT MouseInputAt(int x, int y, DWORD dwFlags) {
    const int vx = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int vy = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int vw = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int vh = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = ((x - vx) * 65535 + vw / 2) / (vw - 1);
    in.mi.dy = ((y - vy) * 65535 + vh / 2) / (vh - 1);
    in.mi.dwFlags = dwFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return in;
}

// The buttons carry the position themselves: after a bare SetCursorPos, Wine
// may still deliver them where the pointer was before.
void MouseClickAt(int x, int y, bool bRight) {
    INPUT in[2] = {MouseInputAt(x, y, bRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                   MouseInputAt(x, y, bRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
    ::SendInput(2, in, sizeof(INPUT));
}

DWORD RunSwitch(const wchar_t* args, bool* pBoxShown, const std::wstring& exe) {
    CKelpo kelpo;
    if (!kelpo.Start(args, exe)) return 0xFFFFFFFF;
    bool bBox = false;
    WaitUntil([&] {
        for (HWND h : ProcessWindows(kelpo.Pid(), L"#32770")) {
            bBox = true;
            ::PostMessageW(h, WM_COMMAND, IDOK, 0);
        }
        return kelpo.WaitForExit(0) != STILL_ACTIVE;
    }, 15000);
    if (pBoxShown != nullptr) *pBoxShown = bBox;
    return kelpo.WaitForExit(0);
}

HWND CKelpo::OpenAboutBox() const {
    ::PostMessageW(m_hWndDlg, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    return WaitForBox();
}

HWND CKelpo::WaitForBox() const {
    HWND hWndBox = nullptr;
    WaitUntil([&] {
        for (HWND h : ProcessWindows(m_pi.dwProcessId, L"#32770")) {
            if (h != m_hWndDlg) hWndBox = h;
        }
        return hWndBox != nullptr;
    });
    return hWndBox;
}

// Under Wine the X input focus can follow a moment later (a program that ended
// while it was in the foreground, a window shown with activation), and then
// takes the foreground away again, cancelling a drag under way: the window must
// keep the foreground for a while before it counts as having it.
bool MakeForeground(HWND hWnd) {
    ULONGLONG heldSince = 0;
    return WaitUntil(
        [&] {
            if (::GetForegroundWindow() != hWnd) {
                ::SetForegroundWindow(hWnd);
                heldSince = 0;
                return false;
            }
            if (heldSince == 0) heldSince = ::GetTickCount64();
            return ::GetTickCount64() - heldSince >= 300;
        },
        5000);
}

std::wstring RectText(const RECT& rc) {
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," + std::to_wstring(rc.right) + L"," +
           std::to_wstring(rc.bottom);
}

HWND CKelpo::Focus() const {
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof(gti);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(m_hWndDlg, nullptr), &gti);
    return gti.hwndFocus;
}

int CKelpo::FocusedField() const {
    HWND hWnd = Focus();
    for (int nId : kFieldIds) {
        if (hWnd != nullptr && (hWnd == Item(nId) || ::GetParent(hWnd) == Item(nId))) {
            return nId;
        }
    }
    return 0;
}

RECT WindowRect(HWND hWnd) {
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

std::wstring SizePosText(const RECT& rc) {
    return std::to_wstring(rc.right - rc.left) + L"," + std::to_wstring(rc.bottom - rc.top) + L"," +
           std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top);
}

bool DoubleInPlace() {
    // Asked through the program's own loader under the same overrides: only
    // the double answers the cloaked query (Wine's own does not).
    static const bool bInPlace = [] {
        DWORD dwCloaked = 0;
        return RunsUnderWine() && SUCCEEDED(DwmGetWindowAttributeFromSystem(::GetDesktopWindow(), DWMWA_CLOAKED,
                                                                            &dwCloaked, sizeof(dwCloaked)));
    }();
    return bInPlace;
}

void Cloak(HWND hWnd, bool bCloak) {
    if (RunsUnderWine()) {
        if (bCloak) {
            ::SetPropW(hWnd, kCloakedProp, reinterpret_cast<HANDLE>(1));
        } else {
            ::RemovePropW(hWnd, kCloakedProp);
        }
        return;
    }
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    static const Fn pfn = LoadedSystemFunction<Fn>(L"dwmapi.dll", "DwmSetWindowAttribute");
    const BOOL bValue = bCloak;
    if (pfn != nullptr) {
        pfn(hWnd, DWMWA_CLOAK, &bValue, sizeof(bValue));
    }
}

RECT VisibleFrame(HWND hWnd) {
    const RECT rc = WindowRect(hWnd);
    if (DoubleInPlace()) {
        return DoubleFrame(hWnd, rc);
    }
    RECT rcFrame = {};
    if (!RunsUnderWine() && SUCCEEDED(DwmGetWindowAttributeFromSystem(hWnd, DWMWA_EXTENDED_FRAME_BOUNDS, &rcFrame,
                                                                      sizeof(rcFrame)))) {
        return rcFrame;
    }
    return rc;
}

namespace {

LRESULT CALLBACK DeclaredTargetProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_DESTROY || uMsg == WM_TIMER) {
        ::PostQuitMessage(0);
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

}  // namespace

int RunAsDeclaredTarget(int argc, wchar_t** argv) {
    if (argc != 7 || ::lstrcmpW(argv[1], L"--declared-target") != 0) {
        return -1;
    }
    const DWORD dwLevel = std::wcstoul(argv[2], nullptr, 0);
    const RECT rc = {_wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6])};
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DeclaredTargetProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIconSm = static_cast<HICON>(::LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.lpszClassName = L"KelpoDeclaredTarget";
    ::RegisterClassExW(&wc);
    const std::wstring title = L"kelpo e2e declared " + std::to_wstring(dwLevel);
    const HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, rc.left, rc.top,
                                        rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, wc.hInstance,
                                        nullptr);
    ::SetPropW(hWnd, L"Kelpo.Integrity", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dwLevel)));
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    ::SetTimer(hWnd, 1, 120000, nullptr);  // never outlives a test that lost it
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&msg);
    }
    return 0;
}

CDeclaredTarget::CDeclaredTarget(DWORD dwLevel, const RECT& rc) {
    wchar_t szSelf[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szSelf, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(szSelf) + L"\" --declared-target " + std::to_wstring(dwLevel) + L" " +
                       std::to_wstring(rc.left) + L" " + std::to_wstring(rc.top) + L" " +
                       std::to_wstring(rc.right) + L" " + std::to_wstring(rc.bottom);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (!::CreateProcessW(szSelf, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi)) {
        return;
    }
    WaitUntil([&] {
        const std::vector<HWND> windows = ProcessWindows(m_pi.dwProcessId, L"KelpoDeclaredTarget");
        m_hWnd = windows.empty() ? nullptr : windows[0];
        return m_hWnd != nullptr;
    });
}

CDeclaredTarget::~CDeclaredTarget() { EndProcess(m_pi); }
