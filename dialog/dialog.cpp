// The dialog's message map and its dialog-level commands: close, refresh, the context menu.
#include "dialog/dialog.h"

#include "dialog/layout.h"
#include "res/resource.h"
#include "win/handles.h"

CDialog::CDialog() {
    m_monitorInfo = EmptyMonitorInfo();
    m_targetInfo = EmptyWindowInfo();

    OSVERSIONINFOEXW osvi = {};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    osvi.dwMajorVersion = 10;
    osvi.dwMinorVersion = 0;
    osvi.wServicePackMajor = 0;
    DWORDLONG mask = 0;
    mask = ::VerSetConditionMask(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    mask = ::VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    mask = ::VerSetConditionMask(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    const BOOL bWin10 =
        ::VerifyVersionInfoW(&osvi, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, mask);
    m_nDialogId = bWin10 ? IDD_MAINDLG_WIN10 : IDD_MAINDLG;
}

CDialog::~CDialog() = default;

BOOL CDialog::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                   DWORD dwMsgMapID) {
    if (dwMsgMapID != 0) {
        return FALSE;
    }
    lResult = 0;
    if (m_targetMove.Keep(hWnd, uMsg, wParam, lParam)) {
        return TRUE;
    }
    switch (uMsg) {
    case WM_INITDIALOG:
        lResult = OnInitDialog();
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
        return TRUE;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA) {
            Refresh();
        }
        return TRUE;
    case WM_DISPLAYCHANGE:
        Refresh();
        return TRUE;
    case WM_DPICHANGED:
        // The dialog manager rescales the controls and fonts after this;
        // what the program sized itself follows once it has.
        OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        break;
    case kMsgRescale:
        Rescale();
        return TRUE;
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        break;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam))) {
            return TRUE;
        }
        break;
    case WM_NOTIFY:
        if (OnNotify(reinterpret_cast<const NMHDR*>(lParam), lResult)) {
            return TRUE;
        }
        break;
    case kMsgTakeHandOver:
        TakeHandOver();
        return TRUE;
    case WM_SYSCOMMAND:
        // The system's own commands get the default dialog processing.
        return CAboutBoxSiteImpl<CDialog>::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
    default:
        break;
    }
    return ReflectNotifications(hWnd, uMsg, wParam, lParam, lResult);
}

bool CDialog::OnCommand(WORD wId, WORD wCode) {
    switch (wId) {
    case IDCANCEL:
        ::DestroyWindow(m_hWnd);
        return true;
    case IDC_RESTORE:
        OnRestore();
        return true;
    case IDC_APPLY:
        OnApply();
        return true;
    case ID_REFRESH:
        Refresh();
        return true;
    case IDC_DISPLAY:
        if (wCode == CBN_SELENDOK) {
            Refresh();
            return true;
        }
        return false;
    default:
        return wCode == 0 && OnPresetCommand(wId);
    }
}

bool CDialog::OnNotify(const NMHDR* pnmh, LRESULT& lResult) {
    if (pnmh->code == LVN_ITEMCHANGED && pnmh->idFrom == IDC_WINDOWS) {
        lResult = OnWindowListItemChanged(reinterpret_cast<const NMLISTVIEW*>(pnmh));
        return true;
    }
    if (pnmh->code == UDN_DELTAPOS) {
        lResult = OnSpinDelta(reinterpret_cast<const NMUPDOWN*>(pnmh));
        return true;
    }
    return false;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Esc while the reticle is dragged cancels the drag, not the dialog.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && m_reticle.CancelDrag()) {
        return TRUE;
    }
    if (::TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg)) {
        return TRUE;
    }
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

void CDialog::OnDestroy() {
    m_targetWatcher.Stop();
    if (CMessageLoop* pLoop = s_module.GetMessageLoop()) {
        pLoop->RemoveMessageFilter(this);
        pLoop->RemoveIdleHandler(this);
    }
    // A start-up that failed has no loop to end, and a quit message left in
    // the queue would close the box that reports the failure at once.
    if (SUCCEEDED(m_hrInit)) {
        ::PostQuitMessage(0);
    }
}

void CDialog::OnContextMenu(HWND hWndClicked, LPARAM lParam) {
    RECT rcClicked = {};
    const bool bKeyboard = LOWORD(lParam) == 0xFFFF && HIWORD(lParam) == 0xFFFF;
    if (bKeyboard) {
        ::GetWindowRect(hWndClicked, &rcClicked);
    }
    POINT pt = ContextMenuPoint(static_cast<uint32_t>(lParam), rcClicked);

    const CMenuOwner hMenu(::LoadMenuW(s_module.GetResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME)));
    if (hMenu == nullptr || hWndClicked != GetDlgItem(IDC_WINDOWS) || IsOnListHeader(pt, bKeyboard)) {
        return;
    }
    if (::MonitorFromPoint(pt, MONITOR_DEFAULTTONULL) == nullptr) {
        RECT rcWork = {};
        if (GetWorkArea(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &rcWork)) {
            pt.x = ClampIntoWorkArea(pt.x, rcWork);
        }
    }
    ::TrackPopupMenu(::GetSubMenu(hMenu, 0), 0, pt.x, pt.y, 0, m_hWnd, nullptr);
}

// The header has no context menu. Some platforms report a right click on it
// with the list view as the clicked window, so the point decides.
bool CDialog::IsOnListHeader(POINT pt, bool bKeyboard) const {
    if (bKeyboard) {
        return false;
    }
    RECT rcHeader = {};
    HWND hWndHeader = m_windowList.GetHeader();
    return hWndHeader != nullptr && ::IsWindowVisible(hWndHeader) && ::GetWindowRect(hWndHeader, &rcHeader) &&
           ::PtInRect(&rcHeader, pt);
}
