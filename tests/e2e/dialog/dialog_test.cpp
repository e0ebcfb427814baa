// Start-up, the dialog shell, keyboard, context menu and the error report.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "harness.h"
#include "res/version.h"

namespace {

bool ProcessIsElevated() {
    HANDLE hToken = nullptr;
    TOKEN_ELEVATION elevation = {};
    DWORD cb = 0;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken)) {
        ::GetTokenInformation(hToken, TokenElevation, &elevation, sizeof(elevation), &cb);
        ::CloseHandle(hToken);
    }
    return elevation.TokenIsElevated != 0;
}

std::wstring ExpectedTitle(const std::wstring& adminPrefix) {
    const std::wstring title = L"Ovrin's Window Resizer";
    return ProcessIsElevated() ? adminPrefix + title : title;
}

std::vector<HWND> PopupMenus(DWORD dwPid) { return ProcessWindows(dwPid, L"#32768"); }

const int kGeometryControls[] = {IDC_WIDTH,          IDC_HEIGHT,         IDC_X,
                                 IDC_Y,              IDC_ANCHOR_CENTER,  IDC_ANCHOR_TOP,
                                 IDC_ANCHOR_BOTTOM,  IDC_ANCHOR_LEFT,    IDC_ANCHOR_TOPLEFT,
                                 IDC_ANCHOR_BOTTOMLEFT, IDC_ANCHOR_RIGHT, IDC_ANCHOR_TOPRIGHT,
                                 IDC_ANCHOR_BOTTOMRIGHT, IDC_APPLY,      IDC_RESTORE};

TEST(Dialog, AppearsCentredWithItsTitleAndNoTarget) {
    CKelpo kelpo;
    ASSERT_TRUE(kelpo.Start());
    ASSERT_NE(kelpo.WaitForDialog(), nullptr);
    EXPECT_EQ(kelpo.Title(), ExpectedTitle(L"Administrator: "));

    const LONG style = ::GetWindowLongW(kelpo.Dlg(), GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(kelpo.Dlg(), GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
    EXPECT_NE(exStyle & WS_EX_APPWINDOW, 0);

    // Centred on the work area, to the pixel that halving allows.
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(kelpo.Dlg(), MONITOR_DEFAULTTONEAREST), &mi);
    const RECT rc = kelpo.Rect(0);
    EXPECT_NEAR(rc.left - mi.rcWork.left, mi.rcWork.right - rc.right, 1);
    EXPECT_NEAR(rc.top - mi.rcWork.top, mi.rcWork.bottom - rc.bottom, 1);

    // Scaled for the display: as large as the template makes a dialog here,
    // whose font follows the DPI.
    HMODULE hExe = ::LoadLibraryExW(KelpoPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HWND hRef = ::CreateDialogParamW(hExe, MAKEINTRESOURCEW(IDD_MAINDLG), nullptr, nullptr, 0);
    ASSERT_NE(hRef, nullptr);
    RECT rcRef = {};
    RECT rcClient = {};
    ::GetClientRect(hRef, &rcRef);
    ::GetClientRect(kelpo.Dlg(), &rcClient);
    EXPECT_EQ(RectText(rcClient), RectText(rcRef));
    LOGFONTW lf = {};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hRef, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    HDC hdc = ::GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -::MulDiv(8, ::GetDeviceCaps(hdc, LOGPIXELSY), 72));
    ::ReleaseDC(nullptr, hdc);
    ::DestroyWindow(hRef);
    ::FreeLibrary(hExe);

    for (int nId : kGeometryControls) {
        EXPECT_FALSE(kelpo.Enabled(nId)) << nId;
    }
    EXPECT_EQ(kelpo.Fields(), L",,,");
    for (int nId : {IDC_DISPLAY, IDC_WINDOWS, IDC_RETICLE, IDCANCEL}) {
        EXPECT_TRUE(kelpo.Enabled(nId)) << nId;
    }
    // Each value field offers its five presets (their texts are the resources' test).
    for (int nId : kFieldIds) {
        EXPECT_EQ(::SendMessageW(kelpo.Item(nId), CB_GETCOUNT, 0, 0), 5) << nId;
    }
}

TEST(Dialog, CloseButtonEscapeAndWindowCloseEndWithZero) {
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        CKelpo kelpo;
        ASSERT_TRUE(kelpo.Start());
        ASSERT_NE(kelpo.WaitForDialog(), nullptr);
        if (way == 0) {
            kelpo.Click(IDCANCEL);
        } else if (way == 1) {
            ASSERT_TRUE(MakeForeground(kelpo.Dlg()));
            SendKey(VK_ESCAPE);
        } else {
            ::PostMessageW(kelpo.Dlg(), WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(kelpo.WaitForExit(), 0u);
    }
}

TEST(Dialog, EnterAndF5AreHarmless) {
    CTargetThread targets;
    HWND hTarget = targets.Create(L"kelpo e2e target", kSizable, 0, RECT{50, 60, 450, 360});
    CKelpo kelpo;
    ASSERT_TRUE(kelpo.Start());
    ASSERT_NE(kelpo.WaitForDialog(), nullptr);
    const int iRow = kelpo.FindRow(hTarget);
    ASSERT_GE(iRow, 0);
    kelpo.SelectRow(iRow);
    ASSERT_TRUE(WaitUntil([&] { return kelpo.Enabled(IDC_APPLY); }));

    ASSERT_TRUE(MakeForeground(kelpo.Dlg()));
    SendKey(VK_RETURN);
    ::Sleep(300);
    EXPECT_EQ(kelpo.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(kelpo.Enabled(IDC_APPLY));

    // F5 refreshes wherever the focus is, and so drops the target.
    ::SendMessageW(kelpo.Dlg(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(kelpo.Item(IDC_X)), TRUE);
    SendKey(VK_F5);
    EXPECT_TRUE(WaitUntil([&] { return !kelpo.Enabled(IDC_APPLY); }));
    EXPECT_EQ(kelpo.Fields(), L",,,");
    EXPECT_EQ(kelpo.SelectedRow(), -1);
    EXPECT_GE(kelpo.FindRow(hTarget), 0);
    EXPECT_EQ(kelpo.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST(Dialog, ArgumentsThatAreNotSwitchesShowTheDialog) {
    for (const wchar_t* args : {L"hello", L"\"/RunAs \"", L"/RunAs x", L"/RegServer /RunAs"}) {
        SCOPED_TRACE(args);
        CKelpo kelpo;
        ASSERT_TRUE(kelpo.Start(args));
        ASSERT_NE(kelpo.WaitForDialog(), nullptr);
        kelpo.Click(IDCANCEL);
        EXPECT_EQ(kelpo.WaitForExit(), 0u);
    }
}

// The running file is what gets elevated, whatever the command line called it:
// the shell would resolve a bare or wrong name against the current folder.
// (The shell's failures are reported as the Wine tests show with a patched import.)
TEST(Dialog, RunAsStartsAnotherInstanceOfItselfAndEnds) {
    for (const wchar_t* argv0 : {L"", L"no-such-kelpo.exe"}) {
        SCOPED_TRACE(argv0);
        CKelpo kelpo;
        ASSERT_TRUE(kelpo.Start(L"/runAS", KelpoPath(), argv0));
        EXPECT_EQ(kelpo.WaitForExit(), 0u);
        // The relaunched instance shows its dialog; find it by its title and close it.
        HWND hWndOther = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            hWndOther = ::FindWindowW(L"#32770", ExpectedTitle(L"Administrator: ").c_str());
            return hWndOther != nullptr;
        }, 10000));
        DWORD dwPid = 0;
        ::GetWindowThreadProcessId(hWndOther, &dwPid);
        EXPECT_NE(dwPid, kelpo.Pid());
        HANDLE hOther = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, dwPid);
        ASSERT_NE(hOther, nullptr);
        ::PostMessageW(hWndOther, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(hOther, 10000) != WAIT_OBJECT_0) {
            ::TerminateProcess(hOther, 1);
            ADD_FAILURE() << "the relaunched instance did not close";
        }
        ::CloseHandle(hOther);
    }
}

TEST(Dialog, RightClickInTheListOnlyOpensTheRefreshMenu) {
    CKelpo kelpo;
    ASSERT_TRUE(kelpo.Start());
    ASSERT_NE(kelpo.WaitForDialog(), nullptr);
    ASSERT_TRUE(MakeForeground(kelpo.Dlg()));

    const RECT rcList = kelpo.Rect(IDC_WINDOWS);
    MouseClickAt(rcList.left + 40, rcList.bottom - 20, true);
    ASSERT_TRUE(WaitUntil([&] { return !PopupMenus(kelpo.Pid()).empty(); }, 3000));
    RECT rcMenu = {};
    ::GetWindowRect(PopupMenus(kelpo.Pid())[0], &rcMenu);
    EXPECT_EQ(rcMenu.left, rcList.left + 40);
    EXPECT_EQ(rcMenu.top, rcList.bottom - 20);
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return PopupMenus(kelpo.Pid()).empty(); }, 3000));

    // The menu key (Shift+F10) opens it at the centre of the list.
    ::SendMessageW(kelpo.Dlg(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(kelpo.Item(IDC_WINDOWS)), TRUE);
    SendKey(VK_F10, true);
    ASSERT_TRUE(WaitUntil([&] { return !PopupMenus(kelpo.Pid()).empty(); }, 3000));
    ::GetWindowRect(PopupMenus(kelpo.Pid())[0], &rcMenu);
    EXPECT_EQ(rcMenu.left, (rcList.left + rcList.right) / 2);
    EXPECT_EQ(rcMenu.top, (rcList.top + rcList.bottom) / 2);
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return PopupMenus(kelpo.Pid()).empty(); }, 3000));

    // The header, a group box and a disabled field open nothing. The right
    // click above may have selected a row, which enables the fields.
    kelpo.ClearSelection();
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(kelpo.Item(IDC_WIDTH)); }, 3000));
    const RECT rcHeader = kelpo.HeaderItemRect(1);
    const RECT rcClose = kelpo.Rect(IDCANCEL);
    const RECT rcWidth = kelpo.Rect(IDC_WIDTH);
    const POINT elsewhere[] = {{rcHeader.left + 5, rcHeader.top + 3},
                               {rcClose.left + 5, rcClose.top + 5},
                               {rcWidth.left + 5, rcWidth.top + 5}};
    for (const POINT& pt : elsewhere) {
        MouseClickAt(pt.x, pt.y, true);
        ::Sleep(400);
        EXPECT_TRUE(PopupMenus(kelpo.Pid()).empty()) << pt.x << "," << pt.y;
        if (!PopupMenus(kelpo.Pid()).empty()) SendKey(VK_ESCAPE);
    }
    EXPECT_EQ(kelpo.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

BOOL CALLBACK CollectText(HWND hWnd, LPARAM lParam) {
    wchar_t sz[512] = {};
    ::GetWindowTextW(hWnd, sz, 512);
    *reinterpret_cast<std::wstring*>(lParam) += std::wstring(sz) + L"|";
    return TRUE;
}

// The program reads its own file, whatever its command line calls it: a bare
// name as people type it in a console, or a name that means nothing in the
// folder it was started from.
void ExpectWholeAboutText(HWND hWndBox) {
    std::wstring texts;
    ::EnumChildWindows(hWndBox, CollectText, reinterpret_cast<LPARAM>(&texts));
    EXPECT_NE(texts.find(L"Ovrin's Window Resizer " KELPO_VERSION_TEXT "\nCopyright (C) 2026 Ovrin Tools|"),
              std::wstring::npos)
        << texts.c_str();
}

TEST(Dialog, AboutItemShowsNameVersionAndCopyright) {
    const std::wstring exe = KelpoPath();
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
    std::wstring name = exe.substr(folder.size() + 1);
    const std::wstring bare = name.substr(0, name.size() - 4);
    wchar_t szWindows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(szWindows, MAX_PATH);
    const struct {
        std::wstring argv0;
        const wchar_t* dir;
    } starts[] = {{L"", nullptr}, {bare, folder.c_str()}, {name, szWindows}};
    for (const auto& start : starts) {
        SCOPED_TRACE(start.argv0.c_str());
        CKelpo kelpo;
        ASSERT_TRUE(kelpo.Start(L"", exe, start.argv0, start.dir));
        ASSERT_NE(kelpo.WaitForDialog(), nullptr);
        HWND hWndBox = kelpo.OpenAboutBox();
        ASSERT_NE(hWndBox, nullptr);
        wchar_t szCaption[128] = {};
        ::GetWindowTextW(hWndBox, szCaption, 128);
        EXPECT_STREQ(szCaption, L"Ovrin's Window Resizer");
        ExpectWholeAboutText(hWndBox);
        // Modal: the dialog waits until the box is closed, then goes on as before.
        EXPECT_FALSE(::IsWindowEnabled(kelpo.Dlg()));
        ::PostMessageW(hWndBox, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(kelpo.Dlg()) != FALSE; }));
        kelpo.Click(IDCANCEL);
        EXPECT_EQ(kelpo.WaitForExit(), 0u);
    }
}

// Japanese user interface (LANG=ja_JP.UTF-8): resources of language 1041.
TEST(Japanese, ShowsTheJapaneseResources) {
    KELPO_SKIP_ON_WINDOWS("the Japanese user interface the Wine runs set");
    CKelpo kelpo;
    ASSERT_TRUE(kelpo.Start());
    ASSERT_NE(kelpo.WaitForDialog(), nullptr);
    // What each text says is the resources' test; here, that the program takes
    // the Japanese template, strings and presets.
    EXPECT_EQ(kelpo.Title(), ExpectedTitle(L"\x7ba1\x7406\x8005: "));
    EXPECT_EQ(kelpo.Text(IDCANCEL), L"\x9589\x3058\x308b(&C)");
    wchar_t sz[64] = {};
    ::SendMessageW(kelpo.Item(IDC_WIDTH), CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(sz));
    EXPECT_STREQ(sz, L"\x5168\x753b\x9762");
    kelpo.Click(IDCANCEL);
    EXPECT_EQ(kelpo.WaitForExit(), 0u);
}

// Proportions that tell the Japanese templates apart: Close is 50 units wide in
// template 128 and 60 in 129, the window list 301 and 310.
double CloseToListWidth(const CKelpo& kelpo) {
    const RECT rcClose = kelpo.Rect(IDCANCEL);
    const RECT rcList = kelpo.Rect(IDC_WINDOWS);
    return static_cast<double>(rcClose.right - rcClose.left) / (rcList.right - rcList.left);
}

TEST(Japanese, BeforeWindows10UsesTemplate128) {
    KELPO_SKIP_ON_WINDOWS("the Japanese user interface the Wine runs set");
    CKelpo kelpo;
    ASSERT_TRUE(kelpo.Start());
    ASSERT_NE(kelpo.WaitForDialog(), nullptr);
    EXPECT_NEAR(CloseToListWidth(kelpo), 50.0 / 301.0, 0.01);
}

TEST(Win10Japanese, UsesTemplate129) {
    KELPO_SKIP_ON_WINDOWS("the Japanese user interface the Wine runs set");
    CKelpo kelpo;
    ASSERT_TRUE(kelpo.Start());
    ASSERT_NE(kelpo.WaitForDialog(), nullptr);
    EXPECT_NEAR(CloseToListWidth(kelpo), 60.0 / 310.0, 0.01);
    EXPECT_EQ(kelpo.Text(IDC_APPLY), L"\x9069\x7528(&A)");
}

TEST(Win10English, LooksLikeBefore) {
    CKelpo kelpo;
    ASSERT_TRUE(kelpo.Start());
    ASSERT_NE(kelpo.WaitForDialog(), nullptr);
    EXPECT_NEAR(CloseToListWidth(kelpo), 50.0 / 315.0, 0.01);
    EXPECT_EQ(kelpo.Text(IDC_APPLY), L"&Apply");
}

// A file in the temporary folder that the program started next is told of
// through an environment variable.
std::wstring TempFileForProgram(const wchar_t* pszVariable, const wchar_t* pszName) {
    wchar_t szPath[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szPath);
    ::lstrcatW(szPath, pszName);
    ::SetEnvironmentVariableW(pszVariable, szPath);
    return szPath;
}

// What a small file the program wrote holds; empty when there is none.
std::string FileText(const std::wstring& path) {
    char sz[64] = {};
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD cb = 0;
    if (hFile != INVALID_HANDLE_VALUE) {
        ::ReadFile(hFile, sz, sizeof(sz) - 1, &cb, nullptr);
        ::CloseHandle(hFile);
    }
    return std::string(sz, cb);
}

}  // namespace

// The program whose N-th allocation fails, for N = 0, 1, 2, ... until a run asks
// for no N-th, driven through start-up, a refill, a selection, typing, a preset,
// Apply and About. Each run ends one of two ways: the start-up failure reported
// (a box, exit code E_OUTOFMEMORY), or everything right: all presets, the
// elevated title, the target's row with all five columns, the target exactly
// where typed, the About box whole or not at all.
TEST(OutOfMemory, EachAllocationFailingIsReportedOrChangesNothingTheUserSees) {
    CTargetThread targets;
    const RECT rcStart = {30, 40, 430, 340};
    HWND hTarget = targets.Create(L"kelpo e2e memory", kSizable, 0, rcStart);
    std::wstring exe = KelpoPath();
    exe.insert(exe.size() - 4, L"_oom");
    const std::wstring count = TempFileForProgram(L"KELPO_ALLOCATIONS", L"kelpo-allocations.txt");
    // The build's alert sounds, one type a line.
    const std::wstring alerts = TempFileForProgram(L"KELPO_ALERTS", L"kelpo-alerts.txt");
    int nReported = 0;
    int nRight = 0;
    int nUnheard = 0;  // runs whose About could only sound
    for (long n = 0; n < 1000; ++n) {
        SCOPED_TRACE(n);
        ::SetEnvironmentVariableW(L"KELPO_FAIL_AT", std::to_wstring(n).c_str());
        ::DeleteFileW(count.c_str());
        ::SetWindowPos(hTarget, nullptr, rcStart.left, rcStart.top, rcStart.right - rcStart.left,
                       rcStart.bottom - rcStart.top, SWP_NOZORDER | SWP_NOACTIVATE);
        CKelpo kelpo;
        ASSERT_TRUE(kelpo.Start(L"", exe));
        HWND hBox = nullptr;
        HWND hDlg = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            for (HWND h : ProcessWindows(kelpo.Pid(), L"#32770")) {
                (::GetDlgItem(h, IDC_WINDOWS) != nullptr ? hDlg : hBox) = h;
            }
            return hDlg != nullptr || hBox != nullptr;
        }, 10000));
        if (hDlg == nullptr) {
            ++nReported;
            ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
            EXPECT_EQ(kelpo.WaitForExit(), static_cast<DWORD>(E_OUTOFMEMORY));
        } else {
            ++nRight;
            ASSERT_EQ(kelpo.WaitForDialog(), hDlg);
            EXPECT_EQ(kelpo.Title(), ExpectedTitle(L"Administrator: "));
            for (int nId : kFieldIds) {
                EXPECT_EQ(::SendMessageW(kelpo.Item(nId), CB_GETCOUNT, 0, 0), 5) << nId;
            }
            kelpo.Command(ID_REFRESH);
            // The header never claims an order the rows are not in.
            if ((kelpo.HeaderFormat(0) & HDF_SORTUP) != 0) {
                for (int i = 1; i < kelpo.RowCount(); ++i) {
                    EXPECT_LE(::lstrcmpW(kelpo.Cell(i - 1, 0).substr(0, 31).c_str(), kelpo.Cell(i, 0).substr(0, 31).c_str()), 0);
                }
            }
            const int iRow = kelpo.FindRow(hTarget);
            ASSERT_GE(iRow, 0);
            EXPECT_EQ(kelpo.Cell(iRow, 0), L"kelpo e2e memory");
            EXPECT_EQ(kelpo.RowNumbers(iRow), SizePosText(VisibleFrame(hTarget)));
            kelpo.SelectRow(iRow);
            EXPECT_EQ(kelpo.Fields(), SizePosText(VisibleFrame(hTarget)));
            kelpo.SetFields(L"500", L"300", L"100", L"50");
            kelpo.Command(IDC_HEIGHT + 3);  // "Half"
            const std::wstring half = kelpo.Text(IDC_HEIGHT);
            kelpo.Click(IDC_APPLY);
            EXPECT_EQ(SizePosText(VisibleFrame(hTarget)), L"500," + half + L",100,50");
            // Handled at once when the box cannot be had whole, with the error
            // sound; a box, with the information sound, holds the command until
            // it is closed.
            ::DeleteFileW(alerts.c_str());
            DWORD_PTR result = 0;
            if (::SendMessageTimeoutW(kelpo.Dlg(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0, SMTO_NORMAL, 1000, &result) == 0) {
                HWND hAbout = kelpo.WaitForBox();
                ASSERT_NE(hAbout, nullptr);
                ExpectWholeAboutText(hAbout);
                EXPECT_EQ(FileText(alerts), "64\n");
                ::PostMessageW(hAbout, WM_COMMAND, IDOK, 0);
                WaitUntil([&] { return ::IsWindowEnabled(kelpo.Dlg()) != FALSE; });
            } else {
                ++nUnheard;
                EXPECT_EQ(FileText(alerts), "16\n") << "About did nothing the user can notice";
            }
            kelpo.Click(IDCANCEL);
            EXPECT_EQ(kelpo.WaitForExit(), 0u);
        }
        const std::string asked = FileText(count);
        ASSERT_FALSE(asked.empty());
        if (std::atol(asked.c_str()) <= n) {
            break;  // this run asked for no n-th allocation: every one has been tried
        }
    }
    std::printf("out of memory: %d runs reported at start-up, %d right (About unheard in %d)\n", nReported, nRight,
                nUnheard);
    EXPECT_GT(nReported, 0);
    EXPECT_GT(nRight, 1);
    EXPECT_GT(nUnheard, 0);
}
