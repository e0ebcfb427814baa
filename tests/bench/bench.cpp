// Measures the program against the system calls it cannot avoid. Prints one
// JSON object per measurement; scripts/bench turns them into the table.
//   kelpo_bench host N         own N top-level windows until told to quit
//   kelpo_bench run KELPO FLOOR [N...]   measure (sizes 100, 500, 2000 unless given)
#include <windows.h>
#include <commctrl.h>
#include <dwmapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_module.h"
#include "floor_calls.h"
#include "harness.h"
#include "enum/window_list.h"
#include "res/resource.h"
#include "win/dialog_impl.h"
#include "win/dpi.h"

namespace {

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

template <class F>
double MedianOf(int trials, F f) {
    std::vector<double> times;
    for (int i = 0; i < trials; ++i) {
        const double t = Now();
        f();
        times.push_back(Now() - t);
    }
    return Median(times);
}

unsigned s_seed = 12345;
unsigned Random() {
    s_seed = s_seed * 1103515245u + 12345u;
    return (s_seed >> 8) & 0xFFFFFF;
}

std::wstring RandomTitle() {
    std::wstring t;
    const int n = 5 + static_cast<int>(Random() % 30);
    for (int i = 0; i < n; ++i) t.push_back(static_cast<wchar_t>(L'a' + Random() % 26));
    return t;
}

void Emit(const char* name, int n, const char* bits, double value, const char* unit) {
    std::printf("{\"measure\": \"%s\", \"n\": %d, \"bits\": \"%s\", \"value\": %.4f, \"unit\": \"%s\"}\n", name, n,
                bits, value, unit);
    std::fflush(stdout);
}

// A measurement against its floor: the floor's own time and the ratio.
void EmitAgainst(const char* floorName, const char* ratioName, int n, const char* bits, double value, double floor) {
    Emit(floorName, n, bits, floor, "ms");
    Emit(ratioName, n, bits, value / floor, "ratio");
}

// ---------------------------------------------------------------- host mode

HICON MakeIcon(COLORREF colour) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = 16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hbmColor = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    auto* px = static_cast<DWORD*>(pBits);
    for (int i = 0; i < 256; ++i) px[i] = 0xFF000000u | colour;
    HBITMAP hbmMask = ::CreateBitmap(16, 16, 1, 1, nullptr);
    ICONINFO ii = {TRUE, 0, 0, hbmMask, hbmColor};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hbmColor);
    ::DeleteObject(hbmMask);
    return hIcon;
}

int Host(int n, const wchar_t* quitEvent, const wchar_t* readyEvent) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KelpoBenchWindow";
    ::RegisterClassW(&wc);
    for (int i = 0; i < n; ++i) {
        HWND h = ::CreateWindowExW(0, wc.lpszClassName, RandomTitle().c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   static_cast<int>(Random() % 800), static_cast<int>(Random() % 500),
                                   150 + static_cast<int>(Random() % 600), 100 + static_cast<int>(Random() % 400),
                                   nullptr, nullptr, wc.hInstance, nullptr);
        ::SendMessageW(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(MakeIcon(Random())));
    }
    HANDLE hQuit = ::OpenEventW(SYNCHRONIZE, FALSE, quitEvent);
    HANDLE hReady = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent);
    ::SetEvent(hReady);
    for (;;) {
        const DWORD r = ::MsgWaitForMultipleObjects(1, &hQuit, FALSE, INFINITE, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) break;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    return 0;
}

// ---------------------------------------------------------------- run mode

struct Process {
    PROCESS_INFORMATION pi = {};
    bool Start(const std::wstring& exe, const std::wstring& args) {
        std::wstring cmd = L"\"" + exe + L"\" " + args;
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        return ::CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
    }
    ~Process() {
        if (pi.hProcess != nullptr) {
            if (::WaitForSingleObject(pi.hProcess, 3000) == WAIT_TIMEOUT) ::TerminateProcess(pi.hProcess, 1);
            ::CloseHandle(pi.hProcess);
            ::CloseHandle(pi.hThread);
        }
    }
};

HWND DialogOf(DWORD pid) {
    const std::vector<HWND> dialogs = ProcessWindows(pid, L"#32770");
    return dialogs.empty() ? nullptr : dialogs[0];
}

// The calls a refill cannot do without, for every window of the desktop.
struct FloorPass {
    int eligible = 0;
    static BOOL CALLBACK Proc(HWND h, LPARAM lp) {
        wchar_t title[256];
        RECT rc;
        if (FloorCalls(h, title, &rc)) ++reinterpret_cast<FloorPass*>(lp)->eligible;
        return TRUE;
    }
};

// A dialog from the real template, hosting the real window list in this process.
class CHost : public CDialogImpl<CHost> {
public:
    UINT m_nDialogId = IDD_MAINDLG;
    BOOL ProcessWindowMessage(HWND, UINT uMsg, WPARAM, LPARAM, LRESULT& lResult, DWORD) override {
        if (uMsg == WM_INITDIALOG) {
            lResult = TRUE;
            return TRUE;
        }
        return FALSE;
    }
};

void BenchSort(int n, const char* bits) {
    CHost host;
    host.Create(s_module.GetResourceInstance());
    CWindowList list;
    list.SubclassWindow(host.GetDlgItem(IDC_WINDOWS), WindowDpi(host));
    list.m_bUseWaitCursor = false;
    for (int i = 0; i < n; ++i) {
        const std::wstring title = RandomTitle();
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(title.c_str());
        item.lParam = i + 1;
        const int row = static_cast<int>(list.SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        const int x = static_cast<int>(Random() % 4000) - 2000;
        list.SetItemRect(row, RECT{x, 0, x + static_cast<int>(Random() % 3000), 100});
    }
    bool flip = false;
    const double text = MedianOf(7, [&] { list.SortItems(0, flip = !flip); });
    const double integer = MedianOf(7, [&] { list.SortItems(1, flip = !flip); });
    Emit("sort_text_us_per_row", n, bits, text * 1000.0 / n, "us");
    Emit("sort_integer_us_per_row", n, bits, integer * 1000.0 / n, "us");
    ::DestroyWindow(host.m_hWnd);
}

// Start to a visible dialog whose list (when it has one) holds at least n rows.
double TimeStartup(const std::wstring& exe, const std::wstring& args, int n) {
    Process p;
    const double t0 = Now();
    p.Start(exe, args);
    HWND dlg = nullptr;
    while ((dlg = DialogOf(p.pi.dwProcessId)) == nullptr && Now() - t0 < 60000) ::Sleep(1);
    if (HWND list = ::GetDlgItem(dlg, IDC_WINDOWS)) {
        while (::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) < n && Now() - t0 < 60000) ::Sleep(1);
    }
    const double t = Now() - t0;
    ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    return t;
}

// The calls an Apply must make on its target, made from this process: the
// style, the window rectangle and frame, the move, the window information and
// frame read back, the dialog brought back on top, and the four numbers
// written into a dialog's fields and into one list row.
void ApplyFloor(HWND target, CHost& host, CWindowList& list, int cx) {
    ::GetWindowLongW(target, GWL_STYLE);
    RECT rcWindow;
    RECT rcFrame;
    ::GetWindowRect(target, &rcWindow);
    ::DwmGetWindowAttribute(target, DWMWA_EXTENDED_FRAME_BOUNDS, &rcFrame, sizeof(rcFrame));
    ::SetWindowPos(target, HWND_TOP, 10, 10, cx, 300, 0);
    WINDOWINFO wi = {};
    wi.cbSize = sizeof(wi);
    ::GetWindowInfo(target, &wi);
    ::DwmGetWindowAttribute(target, DWMWA_EXTENDED_FRAME_BOUNDS, &rcFrame, sizeof(rcFrame));
    ::BringWindowToTop(host.m_hWnd);
    const RECT& rc = wi.rcWindow;
    const int values[4] = {rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top};
    const int fields[4] = {IDC_WIDTH, IDC_HEIGHT, IDC_X, IDC_Y};
    for (int i = 0; i < 4; ++i) ::SetDlgItemInt(host.m_hWnd, fields[i], static_cast<UINT>(values[i]), TRUE);
    list.SetItemRect(0, rc);
}

int Run(const std::wstring& kelpo, const std::wstring& floorExe, const std::vector<int>& sizes, const char* bits) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (int n : sizes) {
        const std::wstring quitName = L"KelpoBenchQuit" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                                      std::to_wstring(n);
        const std::wstring readyName = quitName + L"_ready";
        HANDLE hQuit = ::CreateEventW(nullptr, TRUE, FALSE, quitName.c_str());
        HANDLE hReady = ::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
        {
            Process host;
            host.Start(self, L"host " + std::to_wstring(n) + L" " + quitName + L" " + readyName);
            ::WaitForSingleObject(hReady, 120000);

            CKelpo app;
            const double t0 = Now();
            app.Start(L"", kelpo);
            HWND dlg = nullptr;
            while ((dlg = DialogOf(app.Pid())) == nullptr && Now() - t0 < 60000) ::Sleep(1);
            HWND list = ::GetDlgItem(dlg, IDC_WINDOWS);
            while (::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) < n && Now() - t0 < 60000) ::Sleep(1);
            const double startup = Now() - t0;
            app.WaitForDialog();

            // Floor and refill take turns, so both see the desktop in the same state.
            std::vector<double> floors;
            std::vector<double> refills;
            // Each trial starts with the program idle (the previous refill's repaint
            // done), so the refill is timed, not the painting of the last one.
            auto settle = [&] { ::WaitForInputIdle(app.Process(), 10000); };
            for (int trial = 0; trial < 7; ++trial) {
                settle();
                double t = Now();
                FloorPass pass;
                ::EnumWindows(FloorPass::Proc, reinterpret_cast<LPARAM>(&pass));
                floors.push_back(Now() - t);
                settle();
                t = Now();
                ::SendMessageW(dlg, WM_COMMAND, ID_REFRESH, 0);
                refills.push_back(Now() - t);
            }
            const double floor = Median(floors);
            const double refill = Median(refills);
            Emit("refill_ms", n, bits, refill, "ms");
            Emit("floor_ms", n, bits, floor, "ms");
            Emit("refill_over_floor", n, bits, refill / floor, "ratio");

            if (n == 100) {
                // Start-up of the program, of its floor and of the smallest dialog, in turns.
                std::vector<double> starts = {startup};
                std::vector<double> floorStarts;
                std::vector<double> minimalStarts;
                for (int trial = 0; trial < 5; ++trial) {
                    floorStarts.push_back(TimeStartup(floorExe, L"", n));
                    minimalStarts.push_back(TimeStartup(floorExe, L"minimal", 0));
                    starts.push_back(TimeStartup(kelpo, L"", n));
                }
                const double start = Median(starts);
                Emit("startup_ms", n, bits, start, "ms");
                EmitAgainst("startup_floor_ms", "startup_over_floor", n, bits, start, Median(floorStarts));
                EmitAgainst("minimal_startup_ms", "startup_over_minimal", n, bits, start, Median(minimalStarts));

                // Move: Apply on a window of the host, against the calls it must make,
                // and against a bare SetWindowPos of the same window, in turns.
                // Topmost like the program's dialog, so bringing it back on top costs the same.
                CHost host;
                host.Create(s_module.GetResourceInstance());
                ::SetWindowPos(host.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                CWindowList floorList;
                floorList.SubclassWindow(host.GetDlgItem(IDC_WINDOWS), WindowDpi(host));
                app.SelectRow(0);
                HWND target = app.RowWindow(0);
                floorList.AddWindowItem(target, RECT{}, false);
                std::vector<double> applies;
                std::vector<double> floors;
                std::vector<double> bares;
                for (int trial = 0; trial < 9; ++trial) {
                    app.SetText(IDC_WIDTH, L"400");
                    double t = Now();
                    app.Click(IDC_APPLY);
                    applies.push_back(Now() - t);
                    t = Now();
                    ApplyFloor(target, host, floorList, 420);
                    floors.push_back(Now() - t);
                    t = Now();
                    ::SetWindowPos(target, HWND_TOP, 10, 10, 440, 300, 0);
                    bares.push_back(Now() - t);
                }
                const double apply = Median(applies);
                Emit("apply_ms", n, bits, apply, "ms");
                EmitAgainst("apply_floor_ms", "apply_over_floor", n, bits, apply, Median(floors));
                EmitAgainst("setwindowpos_ms", "apply_over_setwindowpos", n, bits, apply, Median(bares));
                ::DestroyWindow(host.m_hWnd);

                // Apply across displays of two scales (the window manager double's
                // scale line at x = 640, 150 % right of it) on a target that
                // rescales itself there 40 ms after the move, through its own
                // queue, against Apply within one display on the same target, in turns.
                CTargetThread targets;
                HWND rescaling = targets.Create(L"kelpo bench rescaling", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                                RECT{40, 40, 440, 340});
                HWND desktop = ::GetDesktopWindow();
                ::SetPropW(desktop, kScaleLineProp, reinterpret_cast<HANDLE>(641));
                ::SetPropW(desktop, kScalePercentProp, reinterpret_cast<HANDLE>(150));
                targets.RescaleAcrossScales(rescaling, 40);
                app.Command(ID_REFRESH);
                app.SelectRow(app.FindRow(rescaling));
                app.SetText(IDC_WIDTH, L"400");
                app.SetText(IDC_HEIGHT, L"300");
                std::vector<double> across;
                std::vector<double> within;
                for (int trial = 0; trial < 9; ++trial) {
                    for (const wchar_t* x : {L"700", L"60"}) {
                        app.SetText(IDC_X, x);
                        const double t = Now();
                        app.Click(IDC_APPLY);
                        across.push_back(Now() - t);
                    }
                    for (const wchar_t* x : {L"100", L"60"}) {
                        app.SetText(IDC_X, x);
                        const double t = Now();
                        app.Click(IDC_APPLY);
                        within.push_back(Now() - t);
                    }
                }
                ::RemovePropW(desktop, kScaleLineProp);
                ::RemovePropW(desktop, kScalePercentProp);
                EmitAgainst("apply_within_ms", "apply_across_over_within", n, bits, Median(across), Median(within));
                Emit("apply_across_ms", n, bits, Median(across), "ms");
                Emit("apply_settle_ms", n, bits, Median(across) - Median(within), "ms");
                // Within one display nothing settles: against the Apply on the host's window.
                Emit("apply_settle_within_ms", n, bits, Median(within) - apply, "ms");

                // The follow: location events of the selected target that change
                // nothing, and of another window of its thread, each raised by
                // the target's thread, against the time the dialog takes queued
                // input without them.
                HWND other = targets.Create(L"kelpo bench other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                            RECT{60, 500, 260, 700});
                constexpr int kEvents = 2000;
                std::vector<double> quiet;
                std::vector<double> own;
                std::vector<double> others;
                for (int trial = 0; trial < 5; ++trial) {
                    double t = Now();
                    app.WaitForQueuedInput(::GetTickCount64());
                    quiet.push_back(Now() - t);
                    t = Now();
                    targets.RaiseLocationEvents(rescaling, kEvents);
                    app.WaitForQueuedInput(::GetTickCount64());
                    own.push_back(Now() - t);
                    t = Now();
                    targets.RaiseLocationEvents(other, kEvents);
                    app.WaitForQueuedInput(::GetTickCount64());
                    others.push_back(Now() - t);
                }
                Emit("follow_target_event_us", n, bits, (Median(own) - Median(quiet)) * 1000 / kEvents, "us");
                Emit("follow_other_event_us", n, bits, (Median(others) - Median(quiet)) * 1000 / kEvents, "us");
            }
            ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
            ::SetEvent(hQuit);
        }
        ::CloseHandle(hQuit);
        ::CloseHandle(hReady);
        BenchSort(n, bits);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX iccx = {sizeof(iccx), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&iccx);
    s_module.Init(::GetModuleHandleW(nullptr));
    const char* bits = sizeof(void*) == 8 ? "64" : "32";
    if (argc >= 5 && lstrcmpW(argv[1], L"host") == 0) {
        return Host(_wtoi(argv[2]), argv[3], argv[4]);
    }
    if (argc >= 4 && lstrcmpW(argv[1], L"run") == 0) {
        std::vector<int> sizes;
        for (int i = 4; i < argc; ++i) sizes.push_back(_wtoi(argv[i]));
        if (sizes.empty()) sizes = {100, 500, 2000};
        return Run(argv[2], argv[3], sizes, bits);
    }
    std::fprintf(stderr, "usage: kelpo_bench host N QUIT READY | run KELPO FLOOR [N...]\n");
    return 2;
}
