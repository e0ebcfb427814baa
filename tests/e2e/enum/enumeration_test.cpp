// The window list and the display list of the real program.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

class Enumeration : public ::testing::Test {
protected:
    void StartKelpo() {
        ASSERT_TRUE(m_kelpo.Start());
        ASSERT_NE(m_kelpo.WaitForDialog(), nullptr);
    }
    void Refresh() { m_kelpo.Command(ID_REFRESH); }

    CTargetThread m_targets;
    CKelpo m_kelpo;
};

// Which windows are eligible and how their rows read are the Wine tests'
// tables; here, that the program lists by them, and what only the real program
// shows: cloaking through the window manager it loads, owned windows, its own
// window never.
TEST_F(Enumeration, ListsEveryEligibleWindowAndNoOther) {
    HWND hNormal = m_targets.Create(L"kelpo e2e normal", kSizable, 0, RECT{20, 30, 420, 330});
    HWND hHidden = m_targets.Create(L"kelpo e2e hidden", WS_OVERLAPPEDWINDOW, 0, RECT{0, 0, 100, 100});
    HWND hOwned = m_targets.Create(L"kelpo e2e owned", kSizable, 0, RECT{80, 90, 280, 190}, true, hNormal);
    HWND hCloaked = m_targets.Create(L"kelpo e2e cloaked", kSizable, 0, RECT{100, 110, 300, 210});
    Cloak(hCloaked, true);
    StartKelpo();

    EXPECT_GE(m_kelpo.FindRow(hNormal), 0);
    EXPECT_GE(m_kelpo.FindRow(hOwned), 0);
    EXPECT_EQ(m_kelpo.FindRow(hCloaked), -1);
    EXPECT_EQ(m_kelpo.FindRow(hHidden), -1);
    for (int i = 0; i < m_kelpo.RowCount(); ++i) {
        DWORD dwPid = 0;
        ::GetWindowThreadProcessId(m_kelpo.RowWindow(i), &dwPid);
        EXPECT_NE(dwPid, m_kelpo.Pid()) << "the program lists its own window";
    }
    const int iNormal = m_kelpo.FindRow(hNormal);
    EXPECT_EQ(m_kelpo.Cell(iNormal, 0), L"kelpo e2e normal");
    EXPECT_EQ(m_kelpo.RowNumbers(iNormal), SizePosText(VisibleFrame(hNormal)));

    // Uncloaked, it is listed at the next refresh.
    Cloak(hCloaked, false);
    Refresh();
    EXPECT_GE(m_kelpo.FindRow(hCloaked), 0);
}

TEST_F(Enumeration, RowsComeSortedByTitleAndHeaderClicksSortNumerically) {
    const int widths[] = {300, 1000, 20, 450, 99};
    const wchar_t* titles[] = {L"kelpo e2e delta", L"kelpo e2e alpha", L"kelpo e2e echo", L"kelpo e2e charlie",
                               L"kelpo e2e bravo"};
    for (int i = 0; i < 5; ++i) {
        m_targets.Create(titles[i], kSizable, 0, RECT{10 * i, 10, 10 * i + widths[i], 300});
    }
    StartKelpo();
    const int n = m_kelpo.RowCount();
    ASSERT_GE(n, 5);
    for (int i = 1; i < n; ++i) {
        EXPECT_LE(::lstrcmpW(m_kelpo.Cell(i - 1, 0).substr(0, 31).c_str(), m_kelpo.Cell(i, 0).substr(0, 31).c_str()),
                  0)
            << i;
    }
    EXPECT_EQ(m_kelpo.HeaderFormat(0) & (HDF_SORTUP | HDF_SORTDOWN), HDF_SORTUP);

    // How numbers sort is the Wine tests' table; here, that a click sorts.
    ASSERT_TRUE(m_kelpo.ClickHeader(1, HDF_SORTUP));
    EXPECT_EQ(m_kelpo.HeaderFormat(0) & (HDF_SORTUP | HDF_SORTDOWN), 0);
    for (int i = 1; i < n; ++i) {
        EXPECT_LE(std::stoi(m_kelpo.Cell(i - 1, 1)), std::stoi(m_kelpo.Cell(i, 1))) << i;
    }
    // The order holds across a refresh.
    Refresh();
    EXPECT_EQ(m_kelpo.Cell(m_kelpo.RowCount() - 1, 0), L"kelpo e2e alpha");
}

TEST_F(Enumeration, RefreshAndItsMenuItemDropTheTarget) {
    HWND hTarget = m_targets.Create(L"kelpo e2e target", kSizable, 0, RECT{20, 30, 420, 330});
    StartKelpo();
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way);
        m_kelpo.SelectRow(m_kelpo.FindRow(hTarget));
        ASSERT_TRUE(WaitUntil([&] { return m_kelpo.Enabled(IDC_APPLY); }));
        if (way == 0) {
            Refresh();
        } else {
            ASSERT_TRUE(MakeForeground(m_kelpo.Dlg()));
            const RECT rcList = m_kelpo.Rect(IDC_WINDOWS);
            MouseClickAt(rcList.left + 30, rcList.bottom - 10, true);
            ASSERT_TRUE(WaitUntil([&] { return !ProcessWindows(m_kelpo.Pid(), L"#32768").empty(); }));
            SendKey(VK_DOWN);
            SendKey(VK_RETURN);
        }
        EXPECT_TRUE(WaitUntil([&] { return !m_kelpo.Enabled(IDC_APPLY); }));
        EXPECT_EQ(m_kelpo.SelectedRow(), -1);
        EXPECT_EQ(m_kelpo.Fields(), L",,,");
        EXPECT_FALSE(m_kelpo.Enabled(IDC_RESTORE));
    }
}

TEST_F(Enumeration, WindowsThatComeAndGoDuringRefillsNeverCrashIt) {
    HWND hStays = m_targets.Create(L"kelpo e2e stays", kSizable, 0, RECT{0, 0, 100, 100});
    StartKelpo();
    struct Churn {
        volatile LONG stop = 0;
        static DWORD WINAPI Run(void* pv) {
            auto* self = static_cast<Churn*>(pv);
            CTargetThread thread;
            while (::InterlockedCompareExchange(&self->stop, 0, 0) == 0) {
                HWND h = thread.Create(L"kelpo e2e churn", kSizable, 0, RECT{0, 0, 100, 100});
                thread.Destroy(h);
            }
            return 0;
        }
    } churn;
    HANDLE hThread = ::CreateThread(nullptr, 0, Churn::Run, &churn, 0, nullptr);
    for (int i = 0; i < 200; ++i) {
        Refresh();
    }
    ::InterlockedExchange(&churn.stop, 1);
    ::WaitForSingleObject(hThread, 10000);
    ::CloseHandle(hThread);
    EXPECT_EQ(m_kelpo.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    Refresh();
    EXPECT_GE(m_kelpo.FindRow(hStays), 0);
}

TEST_F(Enumeration, TheDisplayListNamesEveryDisplay) {
    StartKelpo();
    const int n = static_cast<int>(::SendMessageW(m_kelpo.Item(IDC_DISPLAY), CB_GETCOUNT, 0, 0));
    ASSERT_EQ(n, ::GetSystemMetrics(SM_CMONITORS));
    for (int i = 0; i < n; ++i) {
        wchar_t sz[256] = {};
        ::SendMessageW(m_kelpo.Item(IDC_DISPLAY), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(sz));
        // Number, full stop, blank, and the name Wine gives every monitor.
        EXPECT_EQ(std::wstring(sz), std::to_wstring(i + 1) + L". Generic Non-PnP Monitor");
    }
    EXPECT_EQ(::SendMessageW(m_kelpo.Item(IDC_DISPLAY), CB_GETCURSEL, 0, 0), 0);
}

// Runs on an Xvfb with two screens (1280x800 and 1024x768).
class TwoDisplays : public Enumeration {
protected:
    void SetUp() override { KELPO_SKIP_ON_WINDOWS("the two screens of the virtual display"); }
};

TEST_F(TwoDisplays, ChoosingDisplayTwoRefillsAndDropsTheTarget) {
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2);
    HWND hTarget = m_targets.Create(L"kelpo e2e target", kSizable, 0, RECT{20, 30, 420, 330});
    StartKelpo();
    HWND hCombo = m_kelpo.Item(IDC_DISPLAY);
    wchar_t sz[256] = {};
    ::SendMessageW(hCombo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(sz));
    EXPECT_EQ(std::wstring(sz).substr(0, 3), L"1. ");
    ::SendMessageW(hCombo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(sz));
    EXPECT_EQ(std::wstring(sz).substr(0, 3), L"2. ");

    m_kelpo.SelectRow(m_kelpo.FindRow(hTarget));
    ASSERT_TRUE(WaitUntil([&] { return m_kelpo.Enabled(IDC_APPLY); }));
    ::SendMessageW(hCombo, CB_SETCURSEL, 1, 0);
    ::SendMessageW(m_kelpo.Dlg(), WM_COMMAND, MAKEWPARAM(IDC_DISPLAY, CBN_SELENDOK), reinterpret_cast<LPARAM>(hCombo));
    EXPECT_FALSE(m_kelpo.Enabled(IDC_APPLY));
    EXPECT_EQ(m_kelpo.SelectedRow(), -1);
    EXPECT_EQ(::SendMessageW(hCombo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_GE(m_kelpo.FindRow(hTarget), 0);

    // The presets now refer to display 2's work area.
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    HMONITOR hMonitor = reinterpret_cast<HMONITOR>(::SendMessageW(hCombo, CB_GETITEMDATA, 1, 0));
    ASSERT_TRUE(::GetMonitorInfoW(hMonitor, &mi));
    m_kelpo.SelectRow(m_kelpo.FindRow(hTarget));
    ASSERT_TRUE(WaitUntil([&] { return m_kelpo.Enabled(IDC_APPLY); }));
    m_kelpo.Command(IDC_WIDTH + 2);
    EXPECT_EQ(m_kelpo.Text(IDC_WIDTH), std::to_wstring(mi.rcWork.right - mi.rcWork.left));
    m_kelpo.Command(IDC_ANCHOR_BOTTOMRIGHT);
    const RECT rcTarget = VisibleFrame(hTarget);
    EXPECT_EQ(m_kelpo.Text(IDC_Y), std::to_wstring(mi.rcWork.bottom - (rcTarget.bottom - rcTarget.top)));

    // F5 keeps display 2 chosen; once it is gone, the first display is chosen.
    m_kelpo.Command(ID_REFRESH);
    EXPECT_EQ(::SendMessageW(hCombo, CB_GETCURSEL, 0, 0), 1);
    ::SendMessageW(hCombo, CB_SETITEMDATA, 1, 0x5EED);
    m_kelpo.Command(ID_REFRESH);
    EXPECT_EQ(::SendMessageW(hCombo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_GE(m_kelpo.FindRow(hTarget), 0);
}

}  // namespace
