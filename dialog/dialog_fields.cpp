// The value fields, the presets and anchors, and which controls the target leaves usable.
#include "dialog/dialog.h"

#include "base/number_text.h"
#include "geometry/anchor_grid.h"
#include "geometry/field_text.h"
#include "res/resource.h"

RECT CDialog::GetFieldRect() const {
    FieldValue values[4];
    for (int i = 0; i < 4; ++i) {
        // Longer than the keyboard may type (a program set it): not a number either.
        wchar_t szText[kFieldTextChars] = {};
        const HWND hWndField = GetDlgItem(kFieldIds[i]);
        if (::GetWindowTextLengthW(hWndField) < kFieldTextChars) {
            ::GetWindowTextW(hWndField, szText, kFieldTextChars);
            values[i] = ParseFieldText(szText);
        }
    }
    return ComputeFieldRect(values[0], values[1], values[2], values[3], m_targetInfo.rcWindow);
}

BOOL CDialog::ExchangeTargetRect(BOOL bSave) {
    if (bSave) {
        m_targetInfo.rcWindow = NormalizeRect(GetFieldRect());
        return TRUE;
    }
    ShowTargetRect(false);
    return TRUE;
}

void CDialog::ShowTargetRect(bool bKeepEdits) {
    const RECT& rc = m_targetInfo.rcWindow;
    const int32_t values[4] = {SaturateToInt32(int64_t{rc.right} - rc.left),
                               SaturateToInt32(int64_t{rc.bottom} - rc.top), rc.left, rc.top};
    for (int i = 0; i < 4; ++i) {
        m_coordValues[i].ShowNumber(values[i], bKeepEdits);
    }
    m_windowList.UpdateItemRect(m_windowList.FindWindowItem(m_hwndTarget), rc);
}

void CDialog::ResetTargetControls() {
    m_targetWatcher.Stop();
    m_targetMove.Forget();
    for (int nId : kFieldIds) {
        EnableControl(nId, FALSE);
    }
    EnableAnchors(FALSE);
    EnableControl(IDC_APPLY, FALSE);
    SetApplyShield(false);
    for (int nId : kFieldIds) {
        ::SetDlgItemTextW(m_hWnd, nId, nullptr);
    }
    EnableControl(IDC_RESTORE, FALSE);
}

void CDialog::EnableTargetControls() {
    const EnableState state = ComputeEnableState(m_targetInfo.dwStyle);
    EnableControl(IDC_WIDTH, state.bSizable);
    EnableControl(IDC_HEIGHT, state.bSizable);
    EnableControl(IDC_X, state.bMovable);
    EnableControl(IDC_Y, state.bMovable);
    EnableAnchors(state.bMovable);
    EnableControl(IDC_APPLY, state.bMovable);
}

void CDialog::EnableAnchors(BOOL bEnable) {
    for (int nId : kAnchorGridIds) {
        EnableControl(nId, bEnable);
    }
}

// A control about to lose its input while it holds the focus hands the focus
// on first, as the dialog manager does: what the user types next must not go
// to a window that cannot take it.
void CDialog::EnableControl(int nId, BOOL bEnable) {
    const HWND hWndCtrl = GetDlgItem(nId);
    const HWND hWndFocus = ::GetFocus();
    if (!bEnable && hWndFocus != nullptr && (hWndFocus == hWndCtrl || ::IsChild(hWndCtrl, hWndFocus))) {
        const HWND hWndNext = ::GetNextDlgTabItem(m_hWnd, hWndCtrl, FALSE);
        if (hWndNext != nullptr && hWndNext != hWndCtrl) {
            SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hWndNext), TRUE);
        }
    }
    ::EnableWindow(hWndCtrl, bEnable);
}

// Restore is usable once the target is away from where it was picked, whoever
// moved it; only a Restore that put it back exactly takes that back.
void CDialog::UpdateRestore(bool bMayDisable) {
    const bool bAway = m_rcRestore != m_targetInfo.rcWindow;
    if (bAway || bMayDisable) {
        EnableControl(IDC_RESTORE, bAway);
    }
}

// The up-down reads its field's plain digits only. A number the field holds in
// the full-width forms an input method types is stepped here, as the up-down
// would step it; the up-down does all else itself.
LRESULT CDialog::OnSpinDelta(const NMUPDOWN* pnmud) {
    const auto hWndField = reinterpret_cast<HWND>(::SendMessageW(pnmud->hdr.hwndFrom, UDM_GETBUDDY, 0, 0));
    wchar_t szText[kFieldTextChars] = {};
    if (hWndField == nullptr || ::GetWindowTextLengthW(hWndField) >= kFieldTextChars) {
        return FALSE;
    }
    ::GetWindowTextW(hWndField, szText, kFieldTextChars);
    bool bFolded = false;
    for (const wchar_t* p = szText; *p != L'\0'; ++p) {
        bFolded = bFolded || FoldFieldChar(*p) != *p;
    }
    const FieldValue value = ParseFieldText(szText);
    if (!bFolded || !value.valid) {
        return FALSE;
    }
    const int64_t nStepped = int64_t{value.value} + pnmud->iDelta;
    const int32_t nValue =
        static_cast<int32_t>(nStepped < kFieldMin ? kFieldMin : nStepped > kFieldMax ? kFieldMax : nStepped);
    ::SetWindowTextW(hWndField, DecimalText(nValue).c_str());
    ::SendMessageW(pnmud->hdr.hwndFrom, UDM_SETPOS32, 0, nValue);
    return TRUE;
}

BOOL CDialog::OnPresetCommand(int nId) {
    const PresetResult result =
        ComputePreset(nId, GetFieldRect(), m_targetInfo.rcWindow, m_rcDefault, m_monitorInfo.rcWork);
    if (!result.bHandled) {
        return FALSE;
    }
    for (int i = 0; i < result.nWrites; ++i) {
        ::SetDlgItemInt(m_hWnd, result.writes[i].nFieldId, static_cast<UINT>(result.writes[i].nValue), TRUE);
    }
    if (result.nFocusFieldId != 0) {
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(result.nFocusFieldId)), TRUE);
    }
    return TRUE;
}
