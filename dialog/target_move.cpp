#include "dialog/target_move.h"

#include "dialog/dialog.h"
#include "enum/window_enum.h"
#include "res/resource.h"
#include "win/alert.h"
#include "win/dpi.h"
#include "win/rights.h"

namespace {

// Whatever the target does, the dialog takes its user's next input within this
// long of the click; what the target takes later is shown when it lands.
constexpr DWORD kHoldMaxMs = 400;
// How long a move may take to land before it is left to the target.
constexpr DWORD kLandMaxMs = 200;
// Long enough for a target that rescales through its own queue.
constexpr DWORD kSettleQuietMs = 80;
constexpr DWORD kSettleMaxMs = 250;
// Between two readings of the frame (the system's timer may round it up).
constexpr DWORD kPollMs = 2;
constexpr int kMaxMoves = 3;
// Every move is posted to the target's thread, as the system does for a window
// of another input queue with SWP_ASYNCWINDOWPOS, so a target that does not
// answer holds nobody. No move activates the target: keys typed after Apply
// stay with the dialog.
constexpr UINT kFirstMove = SWP_ASYNCWINDOWPOS | SWP_NOACTIVATE;
constexpr UINT kCorrectiveMove = SWP_ASYNCWINDOWPOS | SWP_NOZORDER | SWP_NOACTIVATE;

// From the window manager alone: nothing is sent to the target. Borders that
// cannot be read count as none (the frame is the window rectangle); a window
// that is gone reads as empty. The window rectangle is read on both sides of
// the frame, so that a target moving meanwhile never yields borders it never had.
TargetPlacement ReadTargetPlacement(HWND hWnd) {
    TargetPlacement placement = {};
    RECT rcAfter = {};
    for (int i = 0; i < 3 && ::GetWindowRect(hWnd, &placement.rcWindow); ++i) {
        WINDOWINFO info = EmptyWindowInfo();
        GetVisibleWindowInfo(hWnd, info);
        placement.rcFrame = info.rcWindow;
        if (!::GetWindowRect(hWnd, &rcAfter) || rcAfter == placement.rcWindow) {
            break;
        }
    }
    placement.nMonitor = reinterpret_cast<uintptr_t>(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST));
    placement.nDpi = WindowDpi(hWnd);
    return placement;
}

// Waits for a reading's interval, at most until 'until', answering what other
// threads send meanwhile; input and posted messages wait in the queue.
void WaitAnsweringSent(ULONGLONG until) {
    const ULONGLONG now = ::GetTickCount64();
    const DWORD dwMs = until <= now ? 0 : until - now < kPollMs ? static_cast<DWORD>(until - now) : kPollMs;
    if (::MsgWaitForMultipleObjectsEx(0, nullptr, dwMs, QS_SENDMESSAGE, 0) == WAIT_OBJECT_0) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

ULONGLONG Earlier(ULONGLONG a, ULONGLONG b) { return a < b ? a : b; }

}  // namespace

// While it lives a move is under way: what could change the target, the
// selection or the lists waits, and is handled when it ends.
class CTargetMove::CUnderWay {
public:
    explicit CUnderWay(CTargetMove& move) : m_move(move) { m_move.m_bUnderWay = true; }
    ~CUnderWay() {
        m_move.m_bUnderWay = false;
        const bool bRefresh = m_move.m_bRefreshKept;
        const bool bSelection = m_move.m_bSelectionKept;
        m_move.m_bRefreshKept = false;
        m_move.m_bSelectionKept = false;
        if (bRefresh) {
            m_move.m_dlg.Refresh();
        } else if (bSelection) {
            m_move.m_dlg.FollowListSelection();
        }
    }
    CUnderWay(const CUnderWay&) = delete;
    CUnderWay& operator=(const CUnderWay&) = delete;

private:
    CTargetMove& m_move;
};

bool CTargetMove::Move(MoveKind kind) {
    CDialog& dlg = m_dlg;
    const LONG lStyle = ::GetWindowLongW(dlg.m_hwndTarget, GWL_STYLE);
    if ((lStyle & (WS_MINIMIZE | WS_MAXIMIZE)) != 0) {
        // Refused: the target is read again as a new selection of it would be.
        Alert(MB_ICONHAND);
        dlg.SelectTarget(dlg.m_hwndTarget);
        return false;
    }
    CUnderWay underWay(*this);
    m_kind = kind;
    m_hWnd = dlg.m_hwndTarget;
    m_rcApply = dlg.m_targetInfo.rcWindow;
    m_nMoves = 0;
    m_before = ReadTargetPlacement(m_hWnd);
    if (!Post(m_before, kFirstMove)) {
        Fail();
        return false;
    }
    return Proceed(false);
}

bool CTargetMove::Post(const TargetPlacement& from, UINT uFlags) {
    const WindowPos pos = ComputeWindowPos(m_rcApply, &from.rcWindow, &from.rcFrame);
    m_rcPostedOver = from.rcFrame;
    // A move onto where the window already is changes no frame to watch for.
    m_bChanges = from.rcWindow != RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    ++m_nMoves;
    // The target comes to the top of its band; an always-on-top one stops just
    // below the dialog, which it would otherwise cover until the dialog rose again.
    const HWND hWndAfter = (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 ? m_dlg.m_hWnd : HWND_TOP;
    if (SetTargetWindowPos(m_hWnd, hWndAfter, pos.x, pos.y, pos.cx, pos.cy, uFlags)) {
        return true;
    }
    // Refused by the system (its level unknown, or above what elevation
    // reaches): its windows are marked from now on.
    if (::GetLastError() == ERROR_ACCESS_DENIED) {
        const DWORD dwPid = WindowProcessId(m_hWnd);
        if (dwPid != 0) {
            m_dlg.m_processRights.Refused(dwPid);
        }
    }
    return false;
}

// Watches the move until it has landed and settled, and shows where the
// target went; false when a move failed. A per-monitor aware target resizes
// itself when it reaches another scale, inside the move or a moment later
// through its own queue, and its borders change: once it has settled it is
// measured again and moved once more where it landed. At most three moves, and
// a target that insists ends where it insists. A first move that has not
// landed in time is left to the target: the dialog shows where the target
// still is, and goes on from here when it lands.
bool CTargetMove::Proceed(bool bLanded) {
    const ULONGLONG deadline = ::GetTickCount64() + kHoldMaxMs;
    m_hWndLate = m_hWnd;
    if (bLanded || Watch(deadline, true)) {
        for (bool bAcross = MovedAcross(m_before, m_after); bAcross;) {
            Watch(deadline, false);
            if (m_after.rcFrame == m_rcApply || m_nMoves >= kMaxMoves) {
                break;
            }
            if (!Post(m_after, kCorrectiveMove)) {
                Fail();
                return false;
            }
        }
        m_hWndLate = nullptr;
    }
    Finish(bLanded);
    return true;
}

// Reads the frame from the window manager until the first move has landed
// (the frame it was posted over is gone), or until the frame has not changed
// for the quiet time; false when the limit came first. Read rather than heard:
// nothing promises that a wait for sent messages delivers the system's
// location-change events.
bool CTargetMove::Watch(ULONGLONG deadline, bool bLanding) {
    const ULONGLONG start = ::GetTickCount64();
    const ULONGLONG end = Earlier(start + (bLanding ? kLandMaxMs : kSettleMaxMs), deadline);
    ULONGLONG quietFrom = start;
    RECT rcLast = m_rcPostedOver;
    for (ULONGLONG now = start;; now = ::GetTickCount64()) {
        m_after = ReadTargetPlacement(m_hWnd);
        if (m_after.rcFrame != rcLast) {
            if (bLanding) {
                return true;
            }
            rcLast = m_after.rcFrame;
            quietFrom = now;
        } else if (bLanding ? !m_bChanges : now - quietFrom >= kSettleQuietMs) {
            return true;
        }
        if (now >= end) {
            return false;
        }
        WaitAnsweringSent(end);
    }
}

// Shows where the target is, with the dialog above it again. A move that
// lands late may find the user in another program: the dialog is raised then
// without taking the activation.
void CTargetMove::Finish(bool bLate) {
    CDialog& dlg = m_dlg;
    GetVisibleWindowInfo(m_hWnd, dlg.m_targetInfo);  // on failure the rectangle applied stays
    if (bLate) {
        ::SetWindowPos(dlg.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        ::BringWindowToTop(dlg.m_hWnd);
    }
    dlg.ShowTargetRect(bLate);
    dlg.EnableTargetControls();
    dlg.UpdateRestore(m_kind == MoveKind::kRestore);
}

void CTargetMove::Fail() {
    m_hWndLate = nullptr;
    m_bRefreshKept = false;  // the refresh drops the target anyway
    m_bSelectionKept = false;
    Alert(MB_ICONHAND);
    m_dlg.Refresh();
}

bool CTargetMove::Keep(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (!m_bUnderWay) {
        return false;
    }
    switch (uMsg) {
    case WM_COMMAND:
    case WM_CONTEXTMENU:
    case WM_SYSCOMMAND:
        // Queued behind the move; a queue too full to take it loses it audibly.
        if (!::PostMessageW(hWnd, uMsg, wParam, lParam)) {
            Alert(MB_ICONHAND);
        }
        return true;
    case WM_SETTINGCHANGE:
        // It carries a pointer, so the system will not queue it: remembered instead.
        m_bRefreshKept = m_bRefreshKept || wParam == SPI_SETWORKAREA;
        return true;
    case WM_DISPLAYCHANGE:
        m_bRefreshKept = true;
        return true;
    case WM_NOTIFY: {
        // Sent by the list, or by another program; the list's own selection decides afterwards.
        const auto* pnmh = reinterpret_cast<const NMHDR*>(lParam);
        if (pnmh->code == LVN_ITEMCHANGED && pnmh->idFrom == IDC_WINDOWS) {
            m_bSelectionKept = true;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void CTargetMove::OnLocationChange() {
    CDialog& dlg = m_dlg;
    if (m_bUnderWay || dlg.m_hwndTarget == nullptr) {
        return;
    }
    if (m_hWndLate == dlg.m_hwndTarget) {
        m_after = ReadTargetPlacement(m_hWnd);
        if (m_after.rcFrame != m_rcPostedOver) {
            CUnderWay underWay(*this);
            Proceed(true);
        }
        return;
    }
    WINDOWINFO info = EmptyWindowInfo();
    if (!GetVisibleWindowInfo(dlg.m_hwndTarget, info) ||
        (info.rcWindow == dlg.m_targetInfo.rcWindow && info.dwStyle == dlg.m_targetInfo.dwStyle)) {
        return;
    }
    dlg.m_targetInfo = info;
    dlg.ShowTargetRect(true);
    dlg.EnableTargetControls();
    dlg.UpdateRestore(false);
}

BOOL CDialog::MoveTarget(MoveKind kind) { return m_targetMove.Move(kind); }

void CDialog::OnApply() {
    ExchangeTargetRect(TRUE);
    if (m_bApplyElevates) {
        ApplyElevated();
    } else {
        MoveTarget(MoveKind::kApply);
    }
}

void CDialog::OnRestore() {
    m_targetInfo.rcWindow = m_rcRestore;
    MoveTarget(MoveKind::kRestore);
}
