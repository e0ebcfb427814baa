// Moving the target: Apply's and Restore's move, the wait for it to land and
// settle, what the dialog shows of where it went, and its reaction to moves
// that others make.
#pragma once
#include <windows.h>

#include "geometry/placement.h"
#include "geometry/rect.h"

class CDialog;

// Whose move it is decides what the Restore button does once it has landed.
enum class MoveKind { kApply, kRestore };

class CTargetMove {
public:
    explicit CTargetMove(CDialog& dlg) : m_dlg(dlg) {}
    CTargetMove(const CTargetMove&) = delete;
    CTargetMove& operator=(const CTargetMove&) = delete;

    // Moves the target onto the dialog's current rectangle. The move is posted
    // to the target's thread and watched from here for a bounded time only, so
    // a target that does not answer cannot hold the dialog; what it takes later
    // is shown when it lands. False when the move was refused or failed.
    bool Move(MoveKind kind);
    // While a move is under way, a message that could change the target, the
    // selection or the lists is kept for after it; true when it was kept.
    bool Keep(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // The watcher's report: the target moved, by our hand or anyone's.
    void OnLocationChange();
    // The target changed: a move still on its way is no longer shown.
    void Forget() { m_hWndLate = nullptr; }
    // A move that could not be made: a beep, and the lists read again.
    void Fail();

private:
    class CUnderWay;

    bool Proceed(bool bLanded);
    bool Post(const TargetPlacement& from, UINT uFlags);
    bool Watch(ULONGLONG deadline, bool bLanding);
    void Finish(bool bLate);

    CDialog& m_dlg;
    bool m_bUnderWay = false;
    bool m_bRefreshKept = false;
    bool m_bSelectionKept = false;

    // The move being made, or the one the target has yet to take.
    MoveKind m_kind = MoveKind::kApply;
    HWND m_hWnd = nullptr;
    RECT m_rcApply = {};
    TargetPlacement m_before = {};
    RECT m_rcPostedOver = {};      // the frame the last move was posted over
    bool m_bChanges = false;       // whether that move changes the window at all
    TargetPlacement m_after = {};  // as last read
    int m_nMoves = 0;
    // Set while the target has yet to take a move handed over to it.
    HWND m_hWndLate = nullptr;
};
