#include "dialog/target_move.h"

#include <dwmapi.h>

#include "dialog/dialog.h"
#include "enum/window_enum.h"
#include "res/resource.h"
#include "win/system_library.h"

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

UINT DpiForWindow(HWND hWnd) {
    // Systems before Windows 10 lack it.
    using Fn = UINT(WINAPI*)(HWND);
    static const Fn pfn = LoadedSystemFunction<Fn>(L"user32.dll", "GetDpiForWindow");
    return pfn != nullptr ? pfn(hWnd) : 0;
}

// From the window manager alone: nothing is sent to the target. Borders that
// cannot be read count as none (the frame is the window rectangle); a window
// that is gone reads as empty. The window rectangle is read on both sides of
// the frame, so that a target moving meanwhile never yields borders it never had.
TargetPlacement ReadTargetPlacement(HWND hWnd) {
    TargetPlacement placement = {};
    WINDOWINFO info = {};
    info.cbSize = sizeof(info);
    for (int i = 0; i < 3 && ::GetWindowInfo(hWnd, &info); ++i) {
        placement.rcWindow = info.rcWindow;
        if (FAILED(DwmGetWindowAttributeFromSystem(hWnd, DWMWA_EXTENDED_FRAME_BOUNDS, &placement.rcFrame,
                                                   sizeof(placement.rcFrame)))) {
            placement.rcFrame = placement.rcWindow;
        }
        if (!::GetWindowInfo(hWnd, &info) || info.rcWindow == placement.rcWindow) {
            break;
        }
    }
    placement.nMonitor = reinterpret_cast<uintptr_t>(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST));
    placement.nDpi = DpiForWindow(hWnd);
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
    if ((lStyle & (WS_MINIMIZE | WS_MAXIMIZE)) != 0 && GetVisibleWindowInfo(dlg.m_hwndTarget, dlg.m_targetInfo)) {
        // Read again as a new selection of the same window would be.
        dlg.m_rcRestore = dlg.m_targetInfo.rcWindow;
        dlg.ExchangeTargetRect(FALSE);
        dlg.EnableTargetControls();
        ::MessageBeep(MB_ICONHAND);
        return false;
    }
    CUnderWay underWay(*this);
    const ULONGLONG deadline = ::GetTickCount64() + kHoldMaxMs;
    m_kind = kind;
    m_hWnd = dlg.m_hwndTarget;
    m_hWndLate = nullptr;
    m_rcApply = dlg.m_targetInfo.rcWindow;
    m_nMoves = 0;
    m_before = ReadTargetPlacement(m_hWnd);
    if ((lStyle & (WS_MINIMIZE | WS_MAXIMIZE)) == 0 && Post(m_before, kFirstMove)) {
        switch (Run(deadline, false)) {
        case Outcome::kDone:
            Finish(false);
            return true;
        case Outcome::kLate:
            HandOver();
            return true;
        case Outcome::kFailed:
            break;
        }
    }
    Fail();
    return false;
}

bool CTargetMove::Post(const TargetPlacement& from, UINT uFlags) {
    const WindowPos pos = ComputeWindowPos(m_rcApply, &from.rcWindow, &from.rcFrame);
    m_rcPostedOver = from.rcFrame;
    // A move onto where the window already is changes no frame to watch for.
    m_bChanges = from.rcWindow != RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    ++m_nMoves;
    return ::SetWindowPos(m_hWnd, HWND_TOP, pos.x, pos.y, pos.cx, pos.cy, uFlags) != FALSE;
}

// A per-monitor aware target resizes itself when it reaches another scale,
// inside the move or a moment later through its own queue, and its borders
// change. Once it has settled it is measured again and moved once more where
// it landed: at most three moves, and a target that insists ends where it insists.
CTargetMove::Outcome CTargetMove::Run(ULONGLONG deadline, bool bLanded) {
    if (!bLanded && !WaitLanded(deadline)) {
        return Outcome::kLate;
    }
    if (!MovedAcross(m_before, m_after)) {
        return Outcome::kDone;
    }
    for (;;) {
        Settle(deadline);
        const TargetPlacement settled = ReadTargetPlacement(m_hWnd);
        if (settled.rcFrame == m_rcApply || m_nMoves >= kMaxMoves) {
            return Outcome::kDone;
        }
        if (!Post(settled, kCorrectiveMove)) {
            return Outcome::kFailed;
        }
    }
}

// The first move has landed once the frame it was posted over is gone. Read
// from the window manager rather than heard from an event: nothing promises
// that a wait for sent messages delivers the system's location-change events.
bool CTargetMove::WaitLanded(ULONGLONG deadline) {
    const ULONGLONG until = Earlier(::GetTickCount64() + kLandMaxMs, deadline);
    for (;;) {
        m_after = ReadTargetPlacement(m_hWnd);
        if (!m_bChanges || m_after.rcFrame != m_rcPostedOver) {
            return true;
        }
        if (::GetTickCount64() >= until) {
            return false;
        }
        WaitAnsweringSent(until);
    }
}

// Returns once the frame has not changed for the quiet time, or at the limit.
void CTargetMove::Settle(ULONGLONG deadline) {
    ULONGLONG now = ::GetTickCount64();
    const ULONGLONG end = Earlier(now + kSettleMaxMs, deadline);
    ULONGLONG quietFrom = now;
    RECT rcLast = ReadTargetPlacement(m_hWnd).rcFrame;
    while (now < end && now - quietFrom < kSettleQuietMs) {
        WaitAnsweringSent(Earlier(end, quietFrom + kSettleQuietMs));
        now = ::GetTickCount64();
        const RECT rc = ReadTargetPlacement(m_hWnd).rcFrame;
        if (rc != rcLast) {
            rcLast = rc;
            quietFrom = now;
        }
    }
}

// Shows where the target went. A move that landed late may find the dialog
// inactive: it is raised above the target without taking the activation.
void CTargetMove::Finish(bool bLate) {
    CDialog& dlg = m_dlg;
    m_hWndLate = nullptr;
    GetVisibleWindowInfo(m_hWnd, dlg.m_targetInfo);  // on failure the rectangle applied stays
    if (bLate) {
        ::SetWindowPos(dlg.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        ::BringWindowToTop(dlg.m_hWnd);
    }
    dlg.ShowTargetRect(bLate);
    if (bLate) {
        dlg.EnableTargetControls();
    }
    dlg.UpdateRestore(m_kind == MoveKind::kRestore);
}

// The target has not taken the move yet (it does not answer, or it refuses
// the move without a change): the dialog goes back to its user and shows where
// the target is, and the move when it lands.
void CTargetMove::HandOver() {
    m_hWndLate = m_hWnd;
    GetVisibleWindowInfo(m_hWnd, m_dlg.m_targetInfo);
    m_dlg.ShowTargetRect(false);
}

void CTargetMove::Fail() {
    m_hWndLate = nullptr;
    m_bRefreshKept = false;  // the refresh drops the target anyway
    m_bSelectionKept = false;
    ::MessageBeep(MB_ICONHAND);
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
            ::MessageBeep(MB_ICONHAND);
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
            const Outcome outcome = Run(::GetTickCount64() + kHoldMaxMs, true);
            if (outcome == Outcome::kDone) {
                Finish(true);
            } else if (outcome == Outcome::kFailed) {
                Fail();
            }
        }
        return;
    }
    WINDOWINFO info = {};
    info.cbSize = sizeof(info);
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
    MoveTarget(MoveKind::kApply);
}

void CDialog::OnRestore() {
    m_targetInfo.rcWindow = m_rcRestore;
    MoveTarget(MoveKind::kRestore);
}
