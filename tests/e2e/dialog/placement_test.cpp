// Selection, Apply, Restore, presets, anchors and the value fields of the real program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "geometry/anchor_grid.h"
#include "harness.h"

namespace {

constexpr DWORD kFixed = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

// Displays of two scales side by side, which Wine cannot show, simulated by the
// window manager double: right of x = 640 the borders are those of a display
// at the given scale, left of it those at 100 %. The line goes with the test,
// whatever fails: later tests see one scale.
class CScaleLine {
public:
    CScaleLine() { ::SetPropW(::GetDesktopWindow(), kScaleLineProp, reinterpret_cast<HANDLE>(641)); }
    ~CScaleLine() {
        ::RemovePropW(::GetDesktopWindow(), kScaleLineProp);
        ::RemovePropW(::GetDesktopWindow(), kScalePercentProp);
    }
    void SetPercent(int percent) {
        ::SetPropW(::GetDesktopWindow(), kScalePercentProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(percent)));
    }
};

class Placement : public ::testing::Test {
protected:
    void SetUp() override {
        m_hTarget = m_targets.Create(L"kelpo e2e target", kSizable, 0, RECT{30, 40, 430, 340});
        ASSERT_TRUE(m_kelpo.Start());
        ASSERT_NE(m_kelpo.WaitForDialog(), nullptr);
    }
    void Select(HWND hWnd) { ASSERT_TRUE(m_kelpo.SelectWindow(hWnd)); }
    void Type(const wchar_t* w, const wchar_t* h, const wchar_t* x, const wchar_t* y) { m_kelpo.SetFields(w, h, x, y); }
    void TypeRect(const RECT& rc) {
        Type(std::to_wstring(rc.right - rc.left).c_str(), std::to_wstring(rc.bottom - rc.top).c_str(),
             std::to_wstring(rc.left).c_str(), std::to_wstring(rc.top).c_str());
    }
    // Enabled state of fields, spin buttons, anchors and Apply as "WHXY S A P".
    std::wstring Usable() {
        std::wstring s;
        for (int nId : kFieldIds) s += m_kelpo.Enabled(nId) ? L"1" : L"0";
        s += L" ";
        for (int nId : {IDC_WIDTH_SPIN, IDC_HEIGHT_SPIN, IDC_X_SPIN, IDC_Y_SPIN}) s += m_kelpo.Enabled(nId) ? L"1" : L"0";
        s += L" ";
        int anchors = 0;
        for (int nId : kAnchorGridIds) anchors += m_kelpo.Enabled(nId) ? 1 : 0;
        s += std::to_wstring(anchors);
        s += m_kelpo.Enabled(IDC_APPLY) ? L" 1" : L" 0";
        return s;
    }
    HWND CreateUnactivated(const wchar_t* title, const RECT& rc) { return m_targets.CreateInactive(title, kSizable, rc); }
    // The moves one Apply gave the target: 'expected' exactly, or where that
    // is 0, one to three (a move across scales is settled, never fought).
    static void ExpectMovesGiven(int given, int expected) {
        if (expected != 0) {
            EXPECT_EQ(given, expected);
        } else {
            EXPECT_GE(given, 1);
            EXPECT_LE(given, 3);
        }
    }
    MONITORINFO ChosenDisplay() {
        HWND hCombo = m_kelpo.Item(IDC_DISPLAY);
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        ::GetMonitorInfoW(reinterpret_cast<HMONITOR>(::SendMessageW(
                              hCombo, CB_GETITEMDATA, ::SendMessageW(hCombo, CB_GETCURSEL, 0, 0), 0)),
                          &mi);
        return mi;
    }
    // The chosen display's work area; where the run set one smaller than the
    // display (KELPO_WORK_AREA, "left,top,right,bottom"), it must be that one.
    RECT WorkArea() {
        const MONITORINFO mi = ChosenDisplay();
        if (const char* expected = std::getenv("KELPO_WORK_AREA")) {
            EXPECT_EQ(RectText(mi.rcWork), std::wstring(expected, expected + std::strlen(expected)));
        }
        return mi.rcWork;
    }

    CTargetThread m_targets;
    HWND m_hTarget = nullptr;
    CKelpo m_kelpo;
};

TEST_F(Placement, SelectionFillsTheFieldsAndEnablesByStyle) {
    HWND hFixed = m_targets.Create(L"kelpo e2e fixed", kFixed, 0, RECT{10, 20, 210, 220});
    HWND hMax = m_targets.Create(L"kelpo e2e max", kSizable, 0, RECT{10, 20, 210, 220});
    HWND hMin = m_targets.Create(L"kelpo e2e min", kSizable, 0, RECT{10, 20, 210, 220});
    m_targets.Show(hMax, SW_MAXIMIZE);
    m_targets.Show(hMin, SW_MINIMIZE);
    m_kelpo.Command(ID_REFRESH);

    Select(m_hTarget);
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(m_hTarget)));
    EXPECT_EQ(m_kelpo.RowNumbers(m_kelpo.FindRow(m_hTarget)), m_kelpo.Fields());
    EXPECT_EQ(Usable(), L"1111 1111 9 1");
    EXPECT_FALSE(m_kelpo.Enabled(IDC_RESTORE));

    Select(hFixed);
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(hFixed)));
    EXPECT_EQ(Usable(), L"0011 0011 9 1");

    for (HWND h : {hMax, hMin}) {
        Select(h);
        EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(h)));
        EXPECT_EQ(Usable(), L"0000 0000 0 0");
    }
}

TEST_F(Placement, ApplyMovesTheTargetAndRestorePutsItBack) {
    KELPO_SKIP_ON_WINDOWS("borders the window manager double draws");
    ASSERT_TRUE(DoubleInPlace());
    Select(m_hTarget);
    const RECT rcSelected = VisibleFrame(m_hTarget);
    // Borders of 7 pixels whatever the DPI: the window takes the visible frame
    // plus the borders on the left, right and bottom.
    SetDoubleBorder(m_hTarget, 7);
    Type(L"800", L"600", L"200", L"100");
    m_kelpo.Click(IDC_APPLY);
    EXPECT_EQ(RectText(WindowRect(m_hTarget)), L"193,100,1007,707");
    EXPECT_EQ(m_kelpo.Fields(), L"800,600,200,100");
    EXPECT_EQ(m_kelpo.RowNumbers(m_kelpo.FindRow(m_hTarget)), L"800,600,200,100");
    EXPECT_EQ(m_kelpo.SelectedRow(), m_kelpo.FindRow(m_hTarget));
    EXPECT_TRUE(m_kelpo.Enabled(IDC_RESTORE));

    // Borders that change after the selection are measured at the move.
    SetDoubleBorder(m_hTarget, 12);
    Type(L"800", L"600", L"100", L"50");
    m_kelpo.Click(IDC_APPLY);
    EXPECT_EQ(RectText(WindowRect(m_hTarget)), L"88,50,912,662");
    EXPECT_EQ(m_kelpo.Fields(), L"800,600,100,50");

    // A second Apply does not stack: Restore still goes to the first rectangle.
    Type(L"500", L"400", L"0", L"0");
    m_kelpo.Click(IDC_APPLY);
    EXPECT_EQ(RectText(VisibleFrame(m_hTarget)), L"0,0,500,400");
    m_kelpo.Click(IDC_RESTORE);
    EXPECT_EQ(RectText(VisibleFrame(m_hTarget)), RectText(rcSelected));
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(rcSelected));
    EXPECT_FALSE(m_kelpo.Enabled(IDC_RESTORE));

    // Apply onto the restore rectangle leaves Restore disabled.
    m_kelpo.Click(IDC_APPLY);
    EXPECT_FALSE(m_kelpo.Enabled(IDC_RESTORE));
}

// What the fields hold is read at Apply: a negative width normalised, and what
// a Japanese input method types in full-width mode (this runs in either language).
TEST_F(Placement, FullWidthAndNegativeNumbersAreAppliedAsRead) {
    const struct {
        const wchar_t* typed[4];
        const wchar_t* applied;  // "w,h,x,y" of the visible frame, as the fields then show it
    } rows[] = {
        // Wider than the smallest frame the system allows a captioned window.
        {{L"-250", L"300", L"400", L"40"}, L"250,300,150,40"},
        // "４２０", "３００", "－４０" and "−5" (the minus sign).
        {{L"\xFF14\xFF12\xFF10", L"\xFF13\xFF10\xFF10", L"\xFF0D\xFF14\xFF10", L"\x2212\x0035"}, L"420,300,-40,-5"},
    };
    Select(m_hTarget);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.applied);
        Type(row.typed[0], row.typed[1], row.typed[2], row.typed[3]);
        m_kelpo.Click(IDC_APPLY);
        EXPECT_EQ(SizePosText(VisibleFrame(m_hTarget)), row.applied);
        EXPECT_EQ(m_kelpo.Fields(), row.applied);
    }
}

TEST_F(Placement, UnreadableFieldsKeepTheCurrentValues) {
    Select(m_hTarget);
    for (const wchar_t* bad : {L"abc", L"12x", L"", L"32768", L"-32769", L"1 2", L"0x20"}) {
        SCOPED_TRACE(bad);
        Type(bad, bad, bad, bad);
        m_kelpo.Click(IDC_APPLY);
        EXPECT_EQ(RectText(WindowRect(m_hTarget)), L"30,40,430,340");
        EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(m_hTarget)));
    }
    // The extremes of the range are accepted; the system stops the window
    // rectangle there, and the fields show where the visible frame went.
    Type(L"", L"", L"-32768", L"32767");
    m_kelpo.Click(IDC_APPLY);
    EXPECT_EQ(WindowRect(m_hTarget).left, -32768);
    EXPECT_EQ(WindowRect(m_hTarget).top, 32767);
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(m_hTarget)));
}

TEST_F(Placement, ATargetThatLimitsItsSizeEndsWhereItChose) {
    // The minimum is a window size, borders included.
    m_targets.SetMinTrackSize(m_hTarget, 350, 250);
    Select(m_hTarget);
    Type(L"200", L"100", L"60", L"70");
    m_kelpo.Click(IDC_APPLY);
    const RECT rcTook = VisibleFrame(m_hTarget);
    const RECT rcWindow = WindowRect(m_hTarget);
    EXPECT_EQ(rcTook.left, 60);
    EXPECT_EQ(rcTook.top, 70);
    EXPECT_EQ(rcWindow.right - rcWindow.left, 350);
    EXPECT_EQ(rcWindow.bottom - rcWindow.top, 250);
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(rcTook));
    EXPECT_TRUE(m_kelpo.Enabled(IDC_RESTORE));

    // Now the restore rectangle itself cannot be met: Restore stays enabled.
    m_targets.SetMinTrackSize(m_hTarget, 450, 350);
    m_kelpo.Click(IDC_RESTORE);
    EXPECT_EQ(RectText(WindowRect(m_hTarget)), L"30,40,480,390");
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(m_hTarget)));
    EXPECT_TRUE(m_kelpo.Enabled(IDC_RESTORE));
}

// A rescaling target resizes itself when it reaches the other scale, as
// per-monitor aware programs do.
TEST_F(Placement, AMoveAcrossScalesLandsTheVisibleFrameExactly) {
    KELPO_SKIP_ON_WINDOWS("two scales on one desktop (the window manager double)");
    ASSERT_TRUE(DoubleInPlace());
    struct Row {
        const wchar_t* name;
        int percent;
        bool rescales;
        RECT start;    // window rectangle
        RECT asked;    // visible frame typed
        SIZE minimum;  // of the window, or none
        bool restore;  // then Restore, back across
        int moves;     // given to the target by Apply, or 0 for at most three
    };
    const Row rows[] = {
        {L"100 % to 150 %", 150, true, {40, 40, 440, 340}, {700, 100, 1200, 400}, {}, false, 0},
        {L"150 % back to 100 %", 150, true, {700, 100, 1100, 400}, {60, 80, 560, 380}, {}, false, 0},
        {L"100 % to 125 %", 125, true, {40, 40, 440, 340}, {700, 100, 1200, 400}, {}, false, 0},
        {L"125 % back to 100 %", 125, true, {700, 100, 1100, 400}, {60, 80, 560, 380}, {}, false, 0},
        {L"borders only", 150, false, {40, 40, 440, 340}, {700, 100, 1200, 400}, {}, false, 0},
        {L"Restore across", 150, true, {40, 40, 440, 340}, {700, 100, 1200, 400}, {}, true, 0},
        {L"within one display", 150, true, {40, 40, 440, 340}, {100, 60, 500, 360}, {}, false, 1},
        {L"below the minimum size", 150, true, {40, 40, 640, 490}, {700, 100, 900, 250}, {600, 450}, false, 0},
    };
    CScaleLine line;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        line.SetPercent(row.percent);
        HWND hTarget = CreateUnactivated(L"kelpo e2e across", row.start);
        if (row.rescales) m_targets.RescaleAcrossScales(hTarget);
        if (row.minimum.cx != 0) m_targets.SetMinTrackSize(hTarget, row.minimum.cx, row.minimum.cy);
        m_kelpo.Command(ID_REFRESH);
        Select(hTarget);
        const RECT rcSelected = VisibleFrame(hTarget);
        const int moves = CTargetThread::Moves(hTarget);
        const int activations = CTargetThread::Activations(hTarget);
        TypeRect(row.asked);
        m_kelpo.Click(IDC_APPLY);
        const RECT rcTook = VisibleFrame(hTarget);
        if (row.minimum.cx != 0) {
            // The frame's corner where it was asked, the window at its minimum size.
            const RECT rcWindow = WindowRect(hTarget);
            const RECT rcCornerAndSize = {rcTook.left, rcTook.top, rcWindow.right - rcWindow.left,
                                          rcWindow.bottom - rcWindow.top};
            EXPECT_EQ(RectText(rcCornerAndSize),
                      RectText(RECT{row.asked.left, row.asked.top, row.minimum.cx, row.minimum.cy}));
        } else {
            EXPECT_EQ(RectText(rcTook), RectText(row.asked));
        }
        EXPECT_EQ(m_kelpo.Fields(), SizePosText(rcTook));
        ExpectMovesGiven(CTargetThread::Moves(hTarget) - moves, row.moves);
        // Keys typed after Apply must reach the dialog: the target is never
        // activated, not even for a moment. (Wine settles the X focus a moment later.)
        EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == m_kelpo.Dlg(); }, 2000));
        if (row.restore) {
            m_kelpo.Click(IDC_RESTORE);
            EXPECT_EQ(RectText(VisibleFrame(hTarget)), RectText(rcSelected));
            EXPECT_FALSE(m_kelpo.Enabled(IDC_RESTORE));
        }
        EXPECT_EQ(CTargetThread::Activations(hTarget), activations);
        // Hidden, not destroyed: destroying a window that Wine still counts as
        // focused leaves the desktop in the foreground for a while.
        m_targets.Show(hTarget, SW_HIDE);
    }
}

// Many programs rescale a moment after a move returns, or move by themselves
// later, or stop answering; the target must end where it was typed, the
// fields and the row must always show where it really is, and the dialog must
// take its user's next input within half a second of the click, whatever the
// target does.
TEST_F(Placement, AnApplyStaysAppliedAndTheDialogFollowsWhatTheTargetDoesLater) {
    KELPO_SKIP_ON_WINDOWS("two scales on one desktop (the window manager double)");
    ASSERT_TRUE(DoubleInPlace());
    enum Then { kStays, kRescalesLater, kJumpsBack, kHangsBefore, kHangsInside, kHangsAfter, kCloses };
    struct Row {
        const wchar_t* name;
        DWORD lateMs;  // its rescale comes through its queue that much later
        Then then;
        RECT start;  // window rectangle
        RECT asked;  // visible frame typed
        int moves;   // given to the target by Apply, or 0 for at most three
    };
    const RECT across = {770, 320, 1190, 620};
    const RECT within = {100, 60, 500, 360};
    const Row rows[] = {
        {L"late rescale across", 40, kStays, {40, 40, 440, 340}, across, 0},
        {L"late rescale back", 40, kStays, {700, 100, 1100, 400}, {60, 80, 440, 360}, 0},
        {L"rescale later than the program waits", 600, kRescalesLater, {40, 40, 440, 340}, across, 0},
        {L"within one display", 40, kStays, {40, 40, 440, 340}, within, 1},
        {L"jumps back after Apply", 0, kJumpsBack, {40, 40, 440, 340}, within, 1},
        {L"jumps back after every move across", 0, kJumpsBack, {40, 40, 440, 340}, across, 0},
        {L"stops answering before Apply", 0, kHangsBefore, {40, 40, 440, 340}, across, 0},
        {L"stops answering inside the move", 0, kHangsInside, {40, 40, 440, 340}, across, 0},
        {L"stops answering after the move", 0, kHangsAfter, {40, 40, 440, 340}, across, 0},
        {L"within one display, stops answering before Apply", 0, kHangsBefore, {40, 40, 440, 340}, within, 1},
        {L"closes after the move", 0, kCloses, {40, 40, 440, 340}, across, 0},
    };
    CScaleLine line;
    line.SetPercent(150);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND hTarget = CreateUnactivated(L"kelpo e2e later", row.start);
        m_targets.RescaleAcrossScales(hTarget, row.lateMs);
        if (row.then == kJumpsBack) m_targets.JumpBackAfterMoves(hTarget, 50);
        if (row.then == kHangsInside) m_targets.HangInsideMoves(hTarget, 1000);
        if (row.then == kHangsAfter) m_targets.HangAfterMoves(hTarget, 1000);
        if (row.then == kCloses) m_targets.CloseAfterMoves(hTarget);
        m_kelpo.Command(ID_REFRESH);
        Select(hTarget);
        const RECT rcHome = VisibleFrame(hTarget);
        const int moves = CTargetThread::Moves(hTarget);
        TypeRect(row.asked);
        if (row.then == kHangsBefore) {
            ASSERT_TRUE(m_targets.HangNow(hTarget, 1000));
        }
        const ULONGLONG clicked = ::GetTickCount64();
        m_kelpo.PostCommand(IDC_APPLY);
        EXPECT_LT(m_kelpo.WaitForQueuedInput(clicked), 500u);
        if (row.then == kCloses) {
            // A correction that failed is a failed move: the lists are rebuilt.
            EXPECT_EQ(m_kelpo.FindRow(hTarget), -1);
            EXPECT_EQ(m_kelpo.Fields(), L",,,");
            EXPECT_FALSE(m_kelpo.Enabled(IDC_RESTORE));
            continue;
        }
        const auto shown = [&] {
            const std::wstring frame = SizePosText(VisibleFrame(hTarget));
            return m_kelpo.Fields() == frame && m_kelpo.RowNumbers(m_kelpo.FindRow(hTarget)) == frame;
        };
        if (row.then == kHangsBefore || row.then == kHangsInside || row.then == kHangsAfter) {
            // The move lands when the target answers again, and is shown then.
            EXPECT_TRUE(WaitUntil([&] { return RectText(VisibleFrame(hTarget)) == RectText(row.asked); }, 3000));
        }
        // A target slow to take the move (a loaded machine) is shown when it does.
        EXPECT_TRUE(WaitUntil(shown, 2000));
        if (row.then == kRescalesLater || row.then == kJumpsBack) {
            EXPECT_TRUE(WaitUntil([&] { return RectText(VisibleFrame(hTarget)) != RectText(row.asked); }, 2000));
            EXPECT_TRUE(WaitUntil(shown, 2000));
        } else {
            ::Sleep(200);  // stays applied
            EXPECT_EQ(RectText(VisibleFrame(hTarget)), RectText(row.asked));
        }
        if (row.then == kJumpsBack) {
            // It insists: it ends at home, and the dialog says so.
            EXPECT_TRUE(WaitUntil([&] { return RectText(VisibleFrame(hTarget)) == RectText(rcHome); }, 2000));
        }
        EXPECT_TRUE(WaitUntil(shown, 1000));
        // Restore is usable once a move took the target away; one that only
        // ever ended back where it was picked leaves Restore as it was.
        if (row.then != kJumpsBack || row.moves == 1) {
            EXPECT_TRUE(m_kelpo.Enabled(IDC_RESTORE));
        }
        ::Sleep(100);  // nothing loops
        ExpectMovesGiven(CTargetThread::Moves(hTarget) - moves, row.moves);
        m_targets.Show(hTarget, SW_HIDE);
    }
}

TEST_F(Placement, AClosedWindowEndsInARefreshAtSelectionOrApply) {
    HWND hGone = m_targets.Create(L"kelpo e2e gone", kSizable, 0, RECT{50, 60, 250, 260});
    m_kelpo.Command(ID_REFRESH);
    const int iGone = m_kelpo.FindRow(hGone);
    ASSERT_GE(iGone, 0);
    m_targets.Destroy(hGone);
    m_kelpo.SelectRow(iGone);
    // Read again once the list is done with the selection, not inside it.
    EXPECT_TRUE(WaitUntil([&] { return m_kelpo.FindRow(hGone) == -1; }));
    EXPECT_EQ(m_kelpo.SelectedRow(), -1);
    EXPECT_FALSE(m_kelpo.Enabled(IDC_APPLY));
    EXPECT_EQ(m_kelpo.Fields(), L",,,");

    Select(m_hTarget);
    m_targets.Destroy(m_hTarget);
    Type(L"800", L"600", L"100", L"50");
    m_kelpo.Click(IDC_APPLY);
    EXPECT_EQ(m_kelpo.SelectedRow(), -1);
    EXPECT_EQ(m_kelpo.FindRow(m_hTarget), -1);
    EXPECT_EQ(m_kelpo.Fields(), L",,,");
    EXPECT_FALSE(m_kelpo.Enabled(IDC_APPLY));
    EXPECT_EQ(m_kelpo.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(Placement, MaximisedTargetRefusesTheMoveAndTakesItsNewRestoreRectangle) {
    Select(m_hTarget);
    Type(L"800", L"600", L"100", L"50");
    m_kelpo.Click(IDC_APPLY);
    ASSERT_TRUE(m_kelpo.Enabled(IDC_RESTORE));
    m_targets.Show(m_hTarget, SW_MAXIMIZE);
    const RECT rcMax = WindowRect(m_hTarget);
    m_kelpo.Command(IDC_RESTORE);
    EXPECT_NE(::GetWindowLongW(m_hTarget, GWL_STYLE) & WS_MAXIMIZE, 0);
    EXPECT_EQ(RectText(WindowRect(m_hTarget)), RectText(rcMax));
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(m_hTarget)));
    EXPECT_EQ(Usable(), L"0000 0000 0 0");
    EXPECT_TRUE(m_kelpo.Enabled(IDC_RESTORE));  // a refused move leaves it alone
    EXPECT_EQ(m_kelpo.SelectedRow(), m_kelpo.FindRow(m_hTarget));

    // Back to normal: selected again, the restore rectangle is now the maximised one.
    m_targets.Show(m_hTarget, SW_RESTORE);
    m_kelpo.Command(ID_REFRESH);
    Select(m_hTarget);
    m_kelpo.Command(IDC_APPLY);
    m_kelpo.Command(IDC_RESTORE);
    EXPECT_EQ(m_kelpo.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

// Whoever changes the selected target's rectangle (anyone else, or Apply), its
// row moves in the width-sorted list and stays selected, the fields the user
// has not edited show where it is now (typed text stays), and Restore becomes
// usable once it is away from where it was picked.
TEST_F(Placement, ASelectedTargetsRowAndFieldsFollowItWithoutLosingWhatWasTyped) {
    HWND hMiddle = m_targets.Create(L"kelpo e2e middle", kSizable, 0, RECT{0, 0, 600, 200});
    m_kelpo.Command(ID_REFRESH);
    ASSERT_TRUE(m_kelpo.ClickHeader(1, HDF_SORTUP));
    ASSERT_LT(m_kelpo.FindRow(m_hTarget), m_kelpo.FindRow(hMiddle));
    Select(m_hTarget);
    const auto rowShows = [&] {
        return m_kelpo.RowNumbers(m_kelpo.FindRow(m_hTarget)) == SizePosText(VisibleFrame(m_hTarget));
    };
    ::SetWindowPos(m_hTarget, nullptr, 50, 60, 700, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return m_kelpo.Fields() == SizePosText(VisibleFrame(m_hTarget)); }, 2000));
    EXPECT_TRUE(rowShows());
    EXPECT_GT(m_kelpo.FindRow(m_hTarget), m_kelpo.FindRow(hMiddle));
    EXPECT_EQ(m_kelpo.SelectedRow(), m_kelpo.FindRow(m_hTarget));
    EXPECT_TRUE(m_kelpo.Enabled(IDC_RESTORE));

    m_kelpo.SetText(IDC_WIDTH, L"500");
    m_kelpo.Click(IDC_APPLY);
    EXPECT_LT(m_kelpo.FindRow(m_hTarget), m_kelpo.FindRow(hMiddle));
    EXPECT_EQ(m_kelpo.SelectedRow(), m_kelpo.FindRow(m_hTarget));
    EXPECT_EQ(m_kelpo.Cell(m_kelpo.SelectedRow(), 1), L"500");

    m_kelpo.SetText(IDC_X, L"123");
    ::SetWindowPos(m_hTarget, nullptr, 80, 90, 700, 250, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil(rowShows, 2000));
    const RECT rc = VisibleFrame(m_hTarget);
    EXPECT_EQ(m_kelpo.Fields(), std::to_wstring(rc.right - rc.left) + L"," + std::to_wstring(rc.bottom - rc.top) +
                                    L",123," + std::to_wstring(rc.top));
    EXPECT_GT(m_kelpo.FindRow(m_hTarget), m_kelpo.FindRow(hMiddle));
}

// What the user does stays done while the dialog follows the target: a field
// whose drop-down is open keeps following once it closes, and the focus leaves
// a field before it is disabled, so the next keys go somewhere.
TEST_F(Placement, TheFollowKeepsTheDropDownAndTheFocus) {
    Select(m_hTarget);
    HWND hWidth = m_kelpo.Item(IDC_WIDTH);
    ::SendMessageW(m_kelpo.Dlg(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hWidth), TRUE);
    ::SendMessageW(hWidth, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(m_kelpo.WaitForDropDown(IDC_WIDTH, true));
    ::SetWindowPos(m_hTarget, nullptr, 50, 60, 520, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return m_kelpo.Text(IDC_X) == std::to_wstring(VisibleFrame(m_hTarget).left); }));
    ::SendMessageW(hWidth, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(m_hTarget)));
    ::SetWindowPos(m_hTarget, nullptr, 50, 60, 540, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return m_kelpo.Fields() == SizePosText(VisibleFrame(m_hTarget)); }))
        << "Width no longer follows: " << m_kelpo.Text(IDC_WIDTH).c_str();

    // The target loses its sizing border: Width and Height are disabled, and
    // the focus goes on to the next field that still takes input.
    ASSERT_EQ(m_kelpo.FocusedField(), IDC_WIDTH);
    ::SetWindowLongW(m_hTarget, GWL_STYLE, ::GetWindowLongW(m_hTarget, GWL_STYLE) & ~WS_THICKFRAME);
    ::SetWindowPos(m_hTarget, nullptr, 50, 60, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ASSERT_TRUE(WaitUntil([&] { return !m_kelpo.Enabled(IDC_HEIGHT); }));
    EXPECT_TRUE(WaitUntil([&] { return m_kelpo.FocusedField() == IDC_X; }, 1000))
        << "the focus is on field " << m_kelpo.FocusedField();
}

// Apply puts the target at the top of its band; an always-on-top target would
// then cover the dialog, which must come back above it.
TEST_F(Placement, TheDialogStaysAboveAnAlwaysOnTopTarget) {
    HWND hTopmost = m_targets.Create(L"kelpo e2e topmost", kSizable & ~WS_VISIBLE, WS_EX_TOPMOST, RECT{60, 60, 460, 360});
    m_targets.Show(hTopmost, SW_SHOWNA);
    m_kelpo.Command(ID_REFRESH);
    Select(hTopmost);
    Type(L"500", L"400", L"80", L"70");
    m_kelpo.Click(IDC_APPLY);
    ASSERT_EQ(RectText(VisibleFrame(hTopmost)), L"80,70,580,470");
    // Asked to go right below the dialog: put at the top, it would cover the
    // dialog until the dialog rose again, which Wine shows only at times.
    EXPECT_EQ(CTargetThread::LastInsertAfter(hTopmost), m_kelpo.Dlg());
    const auto dialogFirst = [&] {
        for (HWND h = ::GetTopWindow(nullptr); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            if (h == hTopmost || h == m_kelpo.Dlg()) return h == m_kelpo.Dlg();
        }
        return false;
    };
    EXPECT_TRUE(WaitUntil(dialogFirst, 2000));
}

// While a move settles, nothing may change the target or the lists under it,
// and nothing asked for meanwhile is lost: it is done once the move is over.
TEST_F(Placement, WhatArrivesDuringTheSettleIsDoneAfterIt) {
    KELPO_SKIP_ON_WINDOWS("two scales on one desktop (the window manager double)");
    ASSERT_TRUE(DoubleInPlace());
    enum Arrives { kSettingChange, kOutsideSelection };
    const struct {
        const wchar_t* name;
        Arrives arrives;
    } rows[] = {{L"work area changed", kSettingChange}, {L"another program selects a row", kOutsideSelection}};
    const RECT asked = {770, 320, 1190, 620};
    CScaleLine line;
    line.SetPercent(150);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        HWND hTarget = CreateUnactivated(L"kelpo e2e settling", RECT{40, 40, 440, 340});
        HWND hOther = CreateUnactivated(L"kelpo e2e other", RECT{100, 500, 300, 700});
        m_targets.RescaleAcrossScales(hTarget, 40);
        m_kelpo.Command(ID_REFRESH);
        Select(hTarget);
        TypeRect(asked);
        const int moves = CTargetThread::Moves(hTarget);
        const ULONGLONG clicked = ::GetTickCount64();
        m_kelpo.PostCommand(IDC_APPLY);
        // The first move has landed; the target rescales 40 ms later and the dialog waits for it.
        ASSERT_TRUE(WaitUntil([&] { return CTargetThread::Moves(hTarget) > moves; }, 1000));
        if (row.arrives == kSettingChange) {
            ::SendMessageW(m_kelpo.Dlg(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
        } else {
            m_kelpo.SelectRow(m_kelpo.FindRow(hOther));
        }
        EXPECT_LT(m_kelpo.WaitForQueuedInput(clicked), 500u);
        EXPECT_EQ(RectText(VisibleFrame(hTarget)), RectText(asked));
        EXPECT_EQ(CTargetThread::Moves(hOther), 0);
        if (row.arrives == kSettingChange) {
            // The lists were rebuilt for the new work area: no target.
            EXPECT_EQ(m_kelpo.SelectedRow(), -1);
            EXPECT_EQ(m_kelpo.Fields(), L",,,");
        } else {
            EXPECT_EQ(m_kelpo.SelectedRow(), m_kelpo.FindRow(hOther));
            EXPECT_EQ(m_kelpo.Fields(), SizePosText(VisibleFrame(hOther)));
        }
        m_targets.Show(hTarget, SW_HIDE);
        m_targets.Show(hOther, SW_HIDE);
    }
}

// What each preset and anchor computes is the native tables' rule; here, that
// they reach the real dialog's fields with the chosen display's work area and
// the measured default, and that Apply lands on what they wrote.
TEST_F(Placement, PresetsAndAnchorsWriteTheFieldsForTheChosenDisplay) {
    const RECT wa = WorkArea();
    Select(m_hTarget);
    Type(L"800", L"600", L"100", L"50");
    m_kelpo.Command(IDC_WIDTH + 2);
    EXPECT_EQ(m_kelpo.Fields(), std::to_wstring(wa.right - wa.left) + L",600,100,50");
    EXPECT_EQ(m_kelpo.FocusedField(), IDC_WIDTH);

    m_kelpo.SetText(IDC_WIDTH, L"800");
    ::SendMessageW(m_kelpo.Dlg(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_kelpo.Item(IDC_WINDOWS)), TRUE);
    m_kelpo.Click(IDC_ANCHOR_TOPLEFT);
    EXPECT_EQ(m_kelpo.Fields(), L"800,600," + std::to_wstring(wa.left) + L"," + std::to_wstring(wa.top));
    EXPECT_EQ(m_kelpo.FocusedField(), 0);
    EXPECT_EQ(RectText(WindowRect(m_hTarget)), L"30,40,430,340");
    m_kelpo.Click(IDC_APPLY);
    EXPECT_EQ(RectText(VisibleFrame(m_hTarget)), RectText(RECT{wa.left, wa.top, wa.left + 800, wa.top + 600}));

    // "Default" is where and how large the system makes a new window: the same
    // whatever the target, and a window of its own, not the target's.
    for (int nId : kFieldIds) m_kelpo.Command(static_cast<WORD>(nId + 1));
    const std::wstring defaults = m_kelpo.Fields();
    EXPECT_NE(defaults, SizePosText(VisibleFrame(m_hTarget)));
    EXPECT_GT(std::stoi(m_kelpo.Text(IDC_WIDTH)), 0);
    EXPECT_GT(std::stoi(m_kelpo.Text(IDC_HEIGHT)), 0);
    const HWND hOther = m_targets.Create(L"kelpo e2e other", kSizable, 0, RECT{0, 0, 123, 45});
    m_kelpo.Command(ID_REFRESH);
    Select(hOther);
    for (int nId : kFieldIds) m_kelpo.Command(static_cast<WORD>(nId + 1));
    EXPECT_EQ(m_kelpo.Fields(), defaults);
}

TEST_F(Placement, AnchorButtonsTouchEdgeToEdge) {
    for (int i = 0; i < 9; ++i) {
        const RECT rc = m_kelpo.Rect(kAnchorGridIds[i]);
        if (i % 3 > 0) {
            EXPECT_EQ(rc.left, m_kelpo.Rect(kAnchorGridIds[i - 1]).right) << i;
        }
        if (i >= 3) {
            EXPECT_EQ(rc.top, m_kelpo.Rect(kAnchorGridIds[i - 3]).bottom) << i;
        }
    }
    // Each spin button stands beside its field with the field's top and height.
    for (int i = 0; i < 4; ++i) {
        const RECT rcField = m_kelpo.Rect(IDC_WIDTH + 10 * i);
        const RECT rcSpin = m_kelpo.Rect(IDC_WIDTH_SPIN + i);
        EXPECT_EQ(rcSpin.top, rcField.top) << i;
        EXPECT_EQ(rcSpin.bottom, rcField.bottom) << i;
    }
}

TEST_F(Placement, DropDownPresetsKeepTheTypedTextUntilTheValueReplacesIt) {
    Select(m_hTarget);
    ASSERT_TRUE(MakeForeground(m_kelpo.Dlg()));
    ::SendMessageW(m_kelpo.Dlg(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_kelpo.Item(IDC_WIDTH)), TRUE);
    m_kelpo.SetText(IDC_WIDTH, L"640");

    // Open, move to "Half", Escape: the typed text is back and nothing was computed.
    SendKey(VK_F4);
    ASSERT_TRUE(m_kelpo.WaitForDropDown(IDC_WIDTH, true));
    SendKey(VK_DOWN);
    SendKey(VK_DOWN);
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(m_kelpo.WaitForDropDown(IDC_WIDTH, false));
    ::Sleep(200);
    EXPECT_EQ(m_kelpo.Text(IDC_WIDTH), L"640");
    EXPECT_EQ(m_kelpo.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));

    // Open, pick "Full" with Enter: the field ends with the work area's width.
    const RECT wa = ChosenDisplay().rcWork;
    SendKey(VK_F4);
    ASSERT_TRUE(m_kelpo.WaitForDropDown(IDC_WIDTH, true));
    ::SendMessageW(m_kelpo.Item(IDC_WIDTH), CB_SETCURSEL, 1, 0);
    SendKey(VK_DOWN);
    SendKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return m_kelpo.Text(IDC_WIDTH) == std::to_wstring(wa.right - wa.left); }))
        << "field shows " << m_kelpo.Text(IDC_WIDTH).c_str();
    EXPECT_EQ(RectText(WindowRect(m_hTarget)), L"30,40,430,340");
}

TEST_F(Placement, UpAndDownKeysStepTheValueWithinRange) {
    Select(m_hTarget);
    const RECT rc = VisibleFrame(m_hTarget);
    const std::wstring up = std::to_wstring(rc.right - rc.left + 1);
    const std::wstring down = std::to_wstring(rc.right - rc.left - 1);
    ASSERT_TRUE(MakeForeground(m_kelpo.Dlg()));
    ::SendMessageW(m_kelpo.Dlg(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_kelpo.Item(IDC_WIDTH)), TRUE);
    SendKey(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return m_kelpo.Text(IDC_WIDTH) == up; })) << m_kelpo.Text(IDC_WIDTH).c_str();
    SendKey(VK_DOWN);
    SendKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return m_kelpo.Text(IDC_WIDTH) == down; })) << m_kelpo.Text(IDC_WIDTH).c_str();
    m_kelpo.SetText(IDC_WIDTH, L"32767");
    SendKey(VK_UP);
    ::Sleep(300);
    EXPECT_EQ(m_kelpo.Text(IDC_WIDTH), L"32767");

    // With the drop-down open, Up moves the list's highlight instead.
    HWND hCombo = m_kelpo.Item(IDC_WIDTH);
    SendKey(VK_F4);
    ASSERT_TRUE(m_kelpo.WaitForDropDown(IDC_WIDTH, true));
    ::SendMessageW(hCombo, CB_SETCURSEL, 3, 0);
    SendKey(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(hCombo, CB_GETCURSEL, 0, 0) == 2; }))
        << ::SendMessageW(hCombo, CB_GETCURSEL, 0, 0);
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(m_kelpo.WaitForDropDown(IDC_WIDTH, false));
}

}  // namespace
