#include "geometry/coord_value.h"

BOOL CCoordValue::SubclassWindow(HWND hWnd) {
    if (!CWindowImpl::SubclassWindow(hWnd)) {
        return FALSE;
    }
    COMBOBOXINFO cbi = {};
    cbi.cbSize = sizeof(cbi);
    if (SendMessage(CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&cbi)) && cbi.hwndItem != nullptr) {
        m_wndEdit.SubclassWindow(cbi.hwndItem);
    }
    SendMessage(CB_LIMITTEXT, kFieldTextChars - 1, 0);
    m_hwndUpDown = ::GetWindow(m_hWnd, GW_HWNDNEXT);
    ::SendMessageW(m_hwndUpDown, UDM_SETRANGE, 0, MAKELPARAM(32767, -32768));
    AlignUpDown();
    return TRUE;
}

// The template's dialog-unit rounding rarely matches the closed box's height,
// at any scale.
void CCoordValue::AlignUpDown() {
    RECT rcCombo = {};
    RECT rcUpDown = {};
    GetWindowRect(&rcCombo);
    ::GetWindowRect(m_hwndUpDown, &rcUpDown);
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&rcCombo), 2);
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&rcUpDown), 2);
    ::MoveWindow(m_hwndUpDown, rcUpDown.left, rcCombo.top, rcUpDown.right - rcUpDown.left,
                 rcCombo.bottom - rcCombo.top, TRUE);
}

// An emptied field never shows a number, so no target's numbers leak into it.
void CCoordValue::ShowNumber(int32_t nValue, bool bUnlessEdited) {
    wchar_t szText[kFieldTextChars] = {};
    wchar_t* pszText = m_bDropDownTextSaved ? m_szDropDownText : szText;
    if (bUnlessEdited) {
        wchar_t szShown[kFieldTextChars];
        ::wsprintfW(szShown, L"%d", m_nShown);
        if (!m_bDropDownTextSaved) {
            ::GetWindowTextW(m_hWnd, szText, kFieldTextChars);
        }
        if (::lstrcmpW(pszText, szShown) != 0) {
            return;
        }
    }
    ::wsprintfW(pszText, L"%d", nValue);
    if (!m_bDropDownTextSaved) {
        ::SetWindowTextW(m_hWnd, szText);
    }
    m_nShown = nValue;
}

BOOL CCoordValue::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                       DWORD dwMsgMapID) {
    if (dwMsgMapID == 1) {
        // The edit child: arrow keys step the up-down while the list is closed.
        if ((uMsg == WM_KEYDOWN || uMsg == WM_KEYUP) && (wParam == VK_UP || wParam == VK_DOWN) &&
            !GetDroppedState()) {
            lResult = SendMessage(uMsg, wParam, lParam);
            return TRUE;
        }
        return FALSE;
    }
    if (dwMsgMapID != 0) {
        return FALSE;
    }
    if (uMsg == WM_ENABLE) {
        const MSG* pMsg = GetCurrentMessage();
        DefWindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
        ::EnableWindow(m_hwndUpDown, static_cast<BOOL>(wParam));
        lResult = 0;
        return TRUE;
    }
    if (uMsg != OCM_COMMAND_MSG) {
        return FALSE;
    }
    switch (HIWORD(wParam)) {
    case CBN_DROPDOWN:
        // The combo box's own text is its edit child's, whether or not that child
        // could be subclassed. A text longer than the keyboard may type (set by
        // a program) is left as the drop-down makes it.
        m_bDropDownTextSaved = ::GetWindowTextLengthW(m_hWnd) < kFieldTextChars;
        if (m_bDropDownTextSaved) {
            ::GetWindowTextW(m_hWnd, m_szDropDownText, kFieldTextChars);
        }
        break;
    case CBN_CLOSEUP:
        if (m_bDropDownTextSaved) {
            ::SetWindowTextW(m_hWnd, m_szDropDownText);
        }
        m_bDropDownTextSaved = false;
        ::SendMessageW(m_wndEdit, EM_SETSEL, 0, -1);
        ::SendMessageW(m_wndEdit, EM_SCROLLCARET, 0, 0);
        break;
    case CBN_SELENDOK: {
        const int nIndex = GetCurSel();
        const WORD wCommand = static_cast<WORD>(LOWORD(wParam) + nIndex);
        ::PostMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(wCommand, 0), 0);
        break;
    }
    default:
        return FALSE;
    }
    lResult = 0;
    return TRUE;
}
