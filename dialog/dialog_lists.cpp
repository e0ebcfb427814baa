// The two lists, displays and windows: their loading and refresh, and the
// selection that makes a window the target.
#include "dialog/dialog.h"

#include "res/resource.h"
#include "win/alert.h"

namespace {

// Stops a window from painting for the length of a scope, then repaints it whole.
class CRedrawSuspended {
public:
    explicit CRedrawSuspended(HWND hWnd) : m_hWnd(hWnd) { ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0); }
    ~CRedrawSuspended() {
        ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    CRedrawSuspended(const CRedrawSuspended&) = delete;
    CRedrawSuspended& operator=(const CRedrawSuspended&) = delete;

private:
    HWND m_hWnd;
};

// The display's description: its monitor's record, or its adapter's when it has none.
void DescribeDisplay(const wchar_t* pszDevice, DISPLAY_DEVICEW* pdd) {
    if (::EnumDisplayDevicesW(pszDevice, 0, pdd, 0)) {
        return;
    }
    for (DWORD i = 0; ::EnumDisplayDevicesW(nullptr, i, pdd, 0); ++i) {
        if (::lstrcmpW(pdd->DeviceName, pszDevice) == 0) {
            return;
        }
    }
}

}  // namespace

BOOL CDialog::OnEnumMonitor(HMONITOR hMonitor) {
    MONITORINFOEXW mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(hMonitor, &mi);
    DISPLAY_DEVICEW dd = {};
    dd.cb = sizeof(dd);
    DescribeDisplay(mi.szDevice, &dd);
    if ((dd.StateFlags & 1) == 0) {
        return TRUE;
    }
    dd.DeviceString[ARRAYSIZE(dd.DeviceString) - 1] = L'\0';
    wchar_t szLabel[16 + ARRAYSIZE(dd.DeviceString)];
    ::wsprintfW(szLabel, L"%d. %s", m_monitorList.GetCount() + 1, dd.DeviceString);
    const int nIndex = m_monitorList.AddString(szLabel);
    if (nIndex < 0) {
        m_bMonitorLeftOut = true;  // the list could not take it
    } else {
        m_monitorList.SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(hMonitor));
    }
    return TRUE;
}

BOOL CDialog::LoadMonitorList() {
    m_bMonitorLeftOut = false;
    m_monitorList.ResetContent();
    return EnumerateMonitors();
}

BOOL CDialog::Refresh() {
    const auto hMonitor = reinterpret_cast<HMONITOR>(m_monitorList.GetItemData(m_monitorList.GetCurSel()));
    LoadMonitorList();
    if (m_monitorList.SelectMonitor(hMonitor) == CB_ERR) {
        // The chosen display may be the one left out: the presets would then
        // use another display's work area, which must not pass unnoticed.
        if (m_bMonitorLeftOut) {
            Alert(MB_ICONHAND);
        }
        m_monitorList.SetCurSel(0);
    }
    return LoadWindowList();
}

BOOL CDialog::OnEnumWindow(HWND hWnd) {
    if (!IsEligibleWindow(hWnd)) {
        return TRUE;
    }
    WINDOWINFO info = EmptyWindowInfo();
    GetVisibleWindowInfo(hWnd, info);
    m_windowList.AddWindowItem(hWnd, info.rcWindow, m_processRights.NeedsMoreRights(WindowProcessId(hWnd)));
    return TRUE;
}

BOOL CDialog::LoadWindowList() {
    DropTarget();
    const auto hMonitor = reinterpret_cast<HMONITOR>(m_monitorList.GetItemData(m_monitorList.GetCurSel()));
    ::GetMonitorInfoW(hMonitor, &m_monitorInfo);
    // Painting row by row costs more than the whole enumeration: draw once at the end.
    CRedrawSuspended noRedraw(m_windowList);
    m_windowList.DeleteAllWindowItems();
    m_processRights.ForgetLevels();
    if (!EnumerateWindows()) {
        return FALSE;
    }
    m_windowList.SortItems(m_windowList.m_iSortColumn, m_windowList.m_bSortDescending);
    return TRUE;
}

LRESULT CDialog::OnWindowListItemChanged(const NMLISTVIEW* pnmlv) {
    if ((pnmlv->uChanged & LVIF_STATE) == 0 || ((pnmlv->uNewState ^ pnmlv->uOldState) & LVIS_SELECTED) == 0) {
        return 0;
    }
    if ((pnmlv->uNewState & LVIS_SELECTED) != 0) {
        SelectTarget(reinterpret_cast<HWND>(pnmlv->lParam));
    } else {
        DropTarget();
    }
    return 0;
}

void CDialog::SelectTarget(HWND hWnd) {
    m_targetMove.Forget();
    m_hwndTarget = hWnd;
    if (GetVisibleWindowInfo(m_hwndTarget, m_targetInfo)) {
        m_rcRestore = m_targetInfo.rcWindow;
        ExchangeTargetRect(FALSE);
        EnableTargetControls();
        UpdateApplyShield();
        m_targetWatcher.Watch(m_hwndTarget);
    } else {
        // The window is gone. The lists are read again once the list has done
        // with the click or key that selected the row, not inside it.
        DropTarget();
        ::PostMessageW(m_hWnd, WM_COMMAND, ID_REFRESH, 0);
    }
}

// No target: its controls emptied and disabled.
void CDialog::DropTarget() {
    ResetTargetControls();
    m_hwndTarget = nullptr;
}

// The target is whatever the list has selected now (a selection changed while
// a move was under way is taken up afterwards).
void CDialog::FollowListSelection() {
    const HWND hWnd = m_windowList.SelectedWindow();
    if (hWnd == m_hwndTarget) {
        return;
    }
    if (hWnd == nullptr) {
        DropTarget();
    } else {
        SelectTarget(hWnd);
    }
}

// The target moved: by itself, by the user, by a program restoring its place.
void CDialog::OnTargetLocationChange() { m_targetMove.OnLocationChange(); }
