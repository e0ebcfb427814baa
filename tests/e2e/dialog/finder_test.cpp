// Dragging the finder's reticle onto windows, with real mouse input.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

void MouseButton(bool bDown) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = bDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in, sizeof(in));
}

// Moves the pointer in a few steps, as a hand would, so every window on the way sees it.
void MouseMoveTo(int x, int y) {
    POINT from;
    ::GetCursorPos(&from);
    for (int step = 1; step <= 4; ++step) {
        INPUT in = MouseInputAt(from.x + (x - from.x) * step / 4, from.y + (y - from.y) * step / 4, 0);
        ::SendInput(1, &in, sizeof(in));
        ::Sleep(30);
    }
}

class Finder : public ::testing::Test {
protected:
    void SetUp() override {
        m_hTarget = m_targets.CreateInactive(L"kelpo e2e finder target", kSizable, RECT{1000, 80, 1250, 280});
        ASSERT_TRUE(m_kelpo.Start());
        ASSERT_NE(m_kelpo.WaitForDialog(), nullptr);
        ASSERT_TRUE(MakeForeground(m_kelpo.Dlg()));
    }
    POINT ReticleCentre() {
        const RECT rc = m_kelpo.Rect(IDC_RETICLE);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    bool ReticleBack() {
        return WaitUntil([&] { return ::IsWindowVisible(m_kelpo.Item(IDC_RETICLE)) != FALSE; }, 3000);
    }
    // Presses on the reticle, drags to (x, y) and releases there; with
    // bEscape, Esc is pressed before the release.
    void Drag(int x, int y, bool bEscape = false) {
        ASSERT_TRUE(MakeForeground(m_kelpo.Dlg()));
        const POINT start = ReticleCentre();
        ::SetCursorPos(start.x, start.y);
        // The press must come after the pointer has arrived.
        ::Sleep(100);
        MouseButton(true);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(m_kelpo.Item(IDC_RETICLE)); }, 3000))
            << "the drag did not begin";
        MouseMoveTo(x, y);
        ::Sleep(100);
        if (bEscape) {
            SendKey(VK_ESCAPE);
            ASSERT_TRUE(ReticleBack()) << "Esc did not end the drag";
        }
        MouseButton(false);
        ASSERT_TRUE(ReticleBack());
        ::Sleep(100);
    }

    CTargetThread m_targets;
    HWND m_hTarget = nullptr;
    CKelpo m_kelpo;
};

TEST_F(Finder, DraggingOntoAWindowMakesItTheTarget) {
    const RECT rcReticle = m_kelpo.Rect(IDC_RETICLE);
    Drag(1100, 200);
    EXPECT_EQ(m_kelpo.SelectedRow(), m_kelpo.FindRow(m_hTarget));
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(m_hTarget)));
    EXPECT_TRUE(m_kelpo.Enabled(IDC_APPLY));
    EXPECT_EQ(m_kelpo.Focus(), m_kelpo.Item(IDC_WINDOWS));
    EXPECT_EQ(RectText(m_kelpo.Rect(IDC_RETICLE)), RectText(rcReticle));

    // A second drag works like the first; onto a window's child area too.
    HWND hOther = m_targets.CreateInactive(L"kelpo e2e finder other", kSizable, RECT{100, 600, 400, 780});
    Drag(250, 700);
    EXPECT_EQ(m_kelpo.SelectedRow(), m_kelpo.FindRow(hOther));
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(hOther)));
}

TEST_F(Finder, EscDuringADragCancelsItAndLeavesTheDialog) {
    const RECT rcReticle = m_kelpo.Rect(IDC_RETICLE);
    Drag(1100, 200, true);
    EXPECT_EQ(m_kelpo.WaitForExit(300), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(m_kelpo.SelectedRow(), -1);
    EXPECT_EQ(m_kelpo.Fields(), L",,,");
    EXPECT_EQ(RectText(m_kelpo.Rect(IDC_RETICLE)), RectText(rcReticle));
    // Without a drag, Esc closes the dialog as ever.
    ASSERT_TRUE(MakeForeground(m_kelpo.Dlg()));
    SendKey(VK_ESCAPE);
    EXPECT_EQ(m_kelpo.WaitForExit(), 0u);
}

TEST_F(Finder, NotepadIsListedMovedRestoredAndPicked) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"notepad.exe";
    ASSERT_TRUE(::CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    struct Ender {
        PROCESS_INFORMATION& pi;
        ~Ender() {
            ::TerminateProcess(pi.hProcess, 0);
            ::WaitForSingleObject(pi.hProcess, 5000);
            ::CloseHandle(pi.hProcess);
            ::CloseHandle(pi.hThread);
        }
    } ender{pi};
    HWND hNotepad = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<HWND> found = ProcessWindows(pi.dwProcessId, L"Notepad");
        hNotepad = found.empty() ? nullptr : found[0];
        return hNotepad != nullptr;
    }, 10000));
    wchar_t szTitle[256] = {};
    ::GetWindowTextW(hNotepad, szTitle, 256);

    m_kelpo.Command(ID_REFRESH);
    const int iRow = m_kelpo.FindRow(hNotepad);
    ASSERT_GE(iRow, 0);
    EXPECT_EQ(m_kelpo.Cell(iRow, 0), szTitle);
    const RECT rcBefore = VisibleFrame(hNotepad);
    EXPECT_EQ(m_kelpo.RowNumbers(iRow), SizePosText(rcBefore));

    m_kelpo.SelectRow(iRow);
    m_kelpo.SetFields(L"700", L"500", L"60", L"70");
    m_kelpo.Click(IDC_APPLY);
    EXPECT_EQ(RectText(VisibleFrame(hNotepad)), L"60,70,760,570");
    EXPECT_EQ(m_kelpo.Fields(), L"700,500,60,70");
    m_kelpo.Click(IDC_RESTORE);
    EXPECT_EQ(RectText(VisibleFrame(hNotepad)), RectText(rcBefore));

    // Dropped on its text area, the finder picks Notepad's top-level window.
    m_kelpo.ClearSelection();
    ASSERT_TRUE(MakeForeground(m_kelpo.Dlg()));
    Drag(rcBefore.left + 100, rcBefore.top + 300);
    EXPECT_EQ(m_kelpo.SelectedRow(), m_kelpo.FindRow(hNotepad));
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(hNotepad)));
}

// Two displays (1280x800 and 1024x768, both at the origin): the target lies on the first only.
class TwoDisplaysFinder : public Finder {
protected:
    void SetUp() override {
        KELPO_SKIP_ON_WINDOWS("the two screens of the virtual display");
        Finder::SetUp();
    }
};

TEST_F(TwoDisplaysFinder, TheDropSwitchesTheDisplayListToTheTargetsDisplay) {
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2);
    HWND hCombo = m_kelpo.Item(IDC_DISPLAY);
    const HMONITOR hTargetMonitor = ::MonitorFromWindow(m_hTarget, MONITOR_DEFAULTTONEAREST);
    int iOther = -1;
    for (int i = 0; i < 2; ++i) {
        if (reinterpret_cast<HMONITOR>(::SendMessageW(hCombo, CB_GETITEMDATA, i, 0)) != hTargetMonitor) iOther = i;
    }
    ASSERT_GE(iOther, 0);
    ::SendMessageW(hCombo, CB_SETCURSEL, iOther, 0);
    m_kelpo.Command(IDC_DISPLAY, CBN_SELENDOK);
    ::SendMessageW(m_kelpo.Dlg(), WM_COMMAND, MAKEWPARAM(IDC_DISPLAY, CBN_SELENDOK), reinterpret_cast<LPARAM>(hCombo));
    ASSERT_EQ(::SendMessageW(hCombo, CB_GETCURSEL, 0, 0), iOther);

    Drag(1100, 200);
    const int iSel = static_cast<int>(::SendMessageW(hCombo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(reinterpret_cast<HMONITOR>(::SendMessageW(hCombo, CB_GETITEMDATA, iSel, 0)), hTargetMonitor);
    EXPECT_EQ(m_kelpo.SelectedRow(), m_kelpo.FindRow(m_hTarget));
}

}  // namespace
