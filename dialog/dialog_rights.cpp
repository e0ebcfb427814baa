// Moves that need more rights than the program has: the shield on Apply, the
// relaunch with administrator rights, and the hand-over the new instance takes.
#include "dialog/dialog.h"

#include "app/run_as.h"
#include "res/resource.h"
#include "win/rights.h"

namespace {

// Window handles have 32 significant bits, sign-extended in a 64-bit program.
HWND WindowFromHandOver(uint32_t nWindow) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<int32_t>(nWindow)));
}

}  // namespace

void CDialog::UpdateApplyShield() {
    const DWORD dwPid = WindowProcessId(m_hwndTarget);
    SetApplyShield(dwPid != 0 && m_processRights.ElevationWouldMove(dwPid));
}

void CDialog::SetApplyShield(bool bElevates) {
    if (bElevates != m_bApplyElevates) {
        m_bApplyElevates = bElevates;
        ShowElevationShield(GetDlgItem(IDC_APPLY), bElevates);
    }
}

// The rectangle Apply would apply goes to a new instance with the rights to
// apply it, and this one ends. A declined prompt leaves everything as it was.
void CDialog::ApplyElevated() {
    const RECT& rc = m_targetInfo.rcWindow;
    const HandOver handOver = {static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(m_hwndTarget)),
                               WindowProcessId(m_hwndTarget),
                               {rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top}};
    wchar_t szParameters[kHandOverChars];
    FormatHandOver(handOver, szParameters);
    const HRESULT hr = RunAsAdministrator(szParameters, m_hWnd);
    if (hr == S_OK) {
        ::DestroyWindow(m_hWnd);
    } else if (FAILED(hr)) {
        m_targetMove.Fail();
    }
}

// The window must still be the one named: there, a target, and in the process
// that was named (a handle freed and reused belongs to another). Anything else
// leaves the dialog as a plain start would.
void CDialog::TakeHandOver() {
    if (!m_bHandOver) {
        return;
    }
    m_bHandOver = false;
    const HWND hWnd = WindowFromHandOver(m_handOver.nWindow);
    if (!::IsWindow(hWnd) || !IsEligibleWindow(hWnd) || WindowProcessId(hWnd) != m_handOver.nProcess) {
        return;
    }
    m_windowList.SelectWindowItem(m_windowList.FindWindowItem(hWnd));
    if (m_hwndTarget != hWnd || !::IsWindowEnabled(GetDlgItem(IDC_APPLY))) {
        return;
    }
    for (int i = 0; i < 4; ++i) {
        ::SetDlgItemInt(m_hWnd, kFieldIds[i], static_cast<UINT>(m_handOver.values[i]), TRUE);
    }
    // Moved here, never handed on again: an instance that the consent did not
    // lift ends in the failure steps rather than in a loop of prompts.
    ExchangeTargetRect(TRUE);
    MoveTarget(MoveKind::kApply);
}
