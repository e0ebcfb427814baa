// "--preflight": readies a Windows desktop for the end-to-end tests, or says
// clearly why it cannot be readied. Hosted runners start with a 1024 x 768
// display, a foreground lock that keeps a program started by another from
// becoming active, and the provisioner's console window above everything.
#include <cstdio>

#include "harness.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

int Fail(const char* pszWhy) {
    std::printf("preflight: FAILED: %s\n", pszWhy);
    return 1;
}

bool SetDisplaySize() {
    if (::GetSystemMetrics(SM_CXSCREEN) == kWidth && ::GetSystemMetrics(SM_CYSCREEN) == kHeight) {
        return true;
    }
    DEVMODEW dm = {};
    dm.dmSize = sizeof(dm);
    dm.dmPelsWidth = kWidth;
    dm.dmPelsHeight = kHeight;
    dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    const LONG lResult = ::ChangeDisplaySettingsExW(nullptr, &dm, nullptr, CDS_UPDATEREGISTRY, nullptr);
    std::printf("preflight: display set to %d x %d: result %ld\n", kWidth, kHeight, lResult);
    return lResult == DISP_CHANGE_SUCCESSFUL && ::GetSystemMetrics(SM_CXSCREEN) == kWidth &&
           ::GetSystemMetrics(SM_CYSCREEN) == kHeight;
}

// Console windows (the provisioner's among them) are minimised and lose any
// always-on-top: they would cover the dialog and the targets.
BOOL CALLBACK SetConsoleAside(HWND hWnd, LPARAM) {
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    if (::IsWindowVisible(hWnd) && (::lstrcmpW(szClass, L"ConsoleWindowClass") == 0 ||
                                    ::lstrcmpW(szClass, L"CASCADIA_HOSTING_WINDOW_CLASS") == 0)) {
        ::SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::ShowWindow(hWnd, SW_MINIMIZE);
        std::printf("preflight: console window %p minimised\n", static_cast<void*>(hWnd));
    }
    return TRUE;
}

}  // namespace

int RunPreflight() {
    if (RunsUnderWine()) {
        std::printf("preflight: under Wine, nothing to ready\n");
        return 0;
    }
    DWORD dwSession = 0;
    if (!::ProcessIdToSessionId(::GetCurrentProcessId(), &dwSession) || dwSession == 0) {
        return Fail("the tests run in session 0 (as a service): there is no desktop to show windows on");
    }
    const HDESK hDesk = ::OpenInputDesktop(0, FALSE, GENERIC_READ);
    if (hDesk == nullptr) {
        return Fail("no input desktop: the session is not interactive (locked, or nobody signed in)");
    }
    ::CloseDesktop(hDesk);
    if (!SetDisplaySize()) {
        return Fail("the display could not be set to 1920 x 1080");
    }
    using GetDpiForSystemFn = UINT(WINAPI*)();
    const auto pfnDpi = reinterpret_cast<GetDpiForSystemFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForSystem")));
    if (pfnDpi != nullptr && pfnDpi() != USER_DEFAULT_SCREEN_DPI) {
        return Fail("the desktop is not at 96 DPI (a change needs a new sign-in)");
    }
    // No foreground lock: the tests make the program they started active.
    ::SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    ::EnumWindows(SetConsoleAside, 0);

    // What every test does first: a window of another thread becomes active.
    CTargetThread targets;
    const HWND hWnd = targets.Create(L"kelpo preflight", kSizable, 0, RECT{100, 100, 500, 400});
    const bool bForeground = MakeForeground(hWnd);
    targets.Destroy(hWnd);
    if (!bForeground) {
        return Fail("a window cannot be made the active one: the foreground lock holds");
    }
    std::printf("preflight: ready: session %lu, %d x %d at 96 DPI\n", dwSession, kWidth, kHeight);
    return 0;
}
