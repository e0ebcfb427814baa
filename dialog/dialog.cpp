#include "dialog/dialog.h"

#include "dialog/dlginit.h"
#include "dialog/layout.h"
#include "geometry/anchor_grid.h"
#include "geometry/field_text.h"
#include "geometry/placement.h"
#include "res/resource.h"

namespace {

constexpr int kFieldIds[4] = {IDC_WIDTH, IDC_HEIGHT, IDC_X, IDC_Y};

bool IsProcessElevated() {
    HANDLE hToken = nullptr;
    DWORD dwElevated = 0;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | STANDARD_RIGHTS_READ, &hToken)) {
        DWORD cb = 0;
        TOKEN_ELEVATION elevation = {};
        if (::GetTokenInformation(hToken, TokenElevation, &elevation, sizeof(elevation), &cb)) {
            dwElevated = elevation.TokenIsElevated;
        }
        ::CloseHandle(hToken);
    }
    return dwElevated != 0;
}

// A preset's label; false when it does not fit.
bool AnsiToWide(const char* psz, int cb, wchar_t* pszText, int cchText) {
    const int cch = cb > 0 ? ::MultiByteToWideChar(CP_THREAD_ACP, 0, psz, cb, pszText, cchText - 1) : 0;
    if (cb > 0 && cch <= 0) {
        return false;
    }
    pszText[cch] = L'\0';  // the resource's text usually carries its own, too
    return true;
}

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

HICON CopyCursorAsColourIcon(HICON hCursor) {
    ICONINFO ii = {};
    if (!::GetIconInfo(hCursor, &ii)) {
        return nullptr;
    }
    BITMAP bm = {};
    ::GetObjectW(ii.hbmMask, sizeof(bm), &bm);
    const int cx = bm.bmWidth;
    const int cy = ii.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
    ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor != nullptr) {
        ::DeleteObject(ii.hbmColor);
    }
    HICON hIcon = nullptr;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP hbmColor = CreateDib32(hdc, cx, cy);
    HBITMAP hbmMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    if (hdc != nullptr && hbmColor != nullptr && hbmMask != nullptr) {
        HGDIOBJ hOld = ::SelectObject(hdc, hbmColor);
        ::DrawIconEx(hdc, 0, 0, hCursor, cx, cy, 0, nullptr, DI_IMAGE);
        ::SelectObject(hdc, hbmMask);
        ::DrawIconEx(hdc, 0, 0, hCursor, cx, cy, 0, nullptr, DI_MASK);
        ::SelectObject(hdc, hOld);
        ICONINFO icon = {TRUE, 0, 0, hbmMask, hbmColor};
        hIcon = ::CreateIconIndirect(&icon);
    }
    if (hbmColor != nullptr) {
        ::DeleteObject(hbmColor);
    }
    if (hbmMask != nullptr) {
        ::DeleteObject(hbmMask);
    }
    if (hdc != nullptr) {
        ::DeleteDC(hdc);
    }
    return hIcon;
}

}  // namespace

WINDOWINFO CDialog::s_defaultWindowInfo = EmptyWindowInfo();

CDialog::CDialog() {
    m_monitorInfo = {};
    m_monitorInfo.cbSize = sizeof(MONITORINFO);
    m_targetInfo = {};
    m_targetInfo.cbSize = sizeof(WINDOWINFO);

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

CDialog::~CDialog() {
    if (m_hAccel != nullptr) {
        ::DestroyAcceleratorTable(m_hAccel);
    }
    if (m_hReticleIcon != nullptr) {
        ::DestroyIcon(m_hReticleIcon);
    }
}

BOOL CDialog::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                   DWORD dwMsgMapID) {
    if (dwMsgMapID != 0) {
        return FALSE;
    }
    lResult = 0;
    const WORD wId = LOWORD(wParam);
    const WORD wCode = HIWORD(wParam);
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
    case WM_COMMAND:
        if (wId == IDCANCEL) {
            ::DestroyWindow(m_hWnd);
            return TRUE;
        }
        if (wId == IDC_RESTORE) {
            OnRestore();
            return TRUE;
        }
        if (wId == IDC_APPLY) {
            OnApply();
            return TRUE;
        }
        if (wId == ID_REFRESH) {
            Refresh();
            return TRUE;
        }
        if (wId == IDC_DISPLAY && wCode == CBN_SELENDOK) {
            Refresh();
            return TRUE;
        }
        if (wCode == 0 && OnPresetCommand(wId)) {
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        const auto* pnmh = reinterpret_cast<const NMHDR*>(lParam);
        if (pnmh->code == LVN_ITEMCHANGED && pnmh->idFrom == IDC_WINDOWS) {
            lResult = OnWindowListItemChanged(reinterpret_cast<const NMLISTVIEW*>(lParam));
            return TRUE;
        }
        break;
    }
    case WM_SYSCOMMAND:
        if (CAboutBoxSiteImpl<CDialog>::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0)) {
            return TRUE;
        }
        // The system's own commands get the default dialog processing.
        return FALSE;
    default:
        break;
    }
    return ReflectNotifications(hWnd, uMsg, wParam, lParam, lResult);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (::TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg)) {
        return TRUE;
    }
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

// What cannot be set up ends the start-up, reported as running out of memory
// (the one way these steps fail), rather than leaving a dialog that is quietly
// wrong: without a column, a preset, its keys or the word that it is elevated.
LRESULT CDialog::OnInitDialog() {
    if (!InitDialog()) {
        m_hrInit = E_OUTOFMEMORY;
        ::DestroyWindow(m_hWnd);
        return FALSE;
    }
    return TRUE;
}

bool CDialog::InitDialog() {
    HINSTANCE hInst = s_module.GetResourceInstance();
    if (IsProcessElevated() && !MakeElevatedTitle()) {
        return false;
    }
    SnapAnchorGrid();
    if (!RunDialogInitData()) {
        return false;
    }

    const HICON hIconBig = static_cast<HICON>(::LoadImageW(hInst, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                           ::GetSystemMetrics(SM_CXICON),
                                                           ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    if (hIconBig != nullptr) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIconBig));
    }
    const HICON hIconSmall = static_cast<HICON>(::LoadImageW(hInst, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                             ::GetSystemMetrics(SM_CXSMICON),
                                                             ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (hIconSmall != nullptr) {
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIconSmall));
    }

    MeasureDefaultRect();

    if ((!m_monitorList.IsAttached() && !m_monitorList.SubclassWindow(GetDlgItem(IDC_DISPLAY))) ||
        (!m_windowList.IsAttached() && !m_windowList.SubclassWindow(GetDlgItem(IDC_WINDOWS)))) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (!m_coordValues[i].IsAttached() && !m_coordValues[i].SubclassWindow(GetDlgItem(kFieldIds[i]))) {
            return false;
        }
    }

    m_hAccel = ::LoadAcceleratorsW(hInst, MAKEINTRESOURCEW(IDR_MAINFRAME));
    AddAboutItem();
    SetUpReticle();

    LoadMonitorList();
    m_monitorList.SetCurSel(0);
    LoadWindowList();

    CentreOnWorkArea();

    CMessageLoop* pLoop = s_module.GetMessageLoop();
    return pLoop == nullptr || (pLoop->AddMessageFilter(this) && pLoop->AddIdleHandler(this));
}

void CDialog::AddAboutItem() {
    wchar_t szText[128] = {};
    ::LoadStringW(s_module.GetResourceInstance(), IDS_ABOUTBOX, szText, ARRAYSIZE(szText));
    HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    ::InsertMenuW(hMenu, 0, MF_BYPOSITION | MF_STRING, IDM_ABOUTBOX, szText);
    ::InsertMenuW(hMenu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

void CDialog::SetUpReticle() {
    if (!m_reticle.SubclassWindow(GetDlgItem(IDC_RETICLE))) {
        return;
    }
    const HICON hCursor = static_cast<HICON>(::LoadImageW(s_module.GetResourceInstance(),
                                                          MAKEINTRESOURCEW(m_reticle.GetDlgCtrlID()), IMAGE_CURSOR,
                                                          0, 0, LR_DEFAULTSIZE));
    m_reticle.SetIcon(hCursor);
    if (hCursor != nullptr && m_reticle.GetIcon() == nullptr) {
        // Some icon statics refuse monochrome cursors; the same picture as a
        // colour icon (whose hotspot is its centre, as the reticle's is) is accepted.
        m_hReticleIcon = CopyCursorAsColourIcon(hCursor);
        m_reticle.SetIcon(m_hReticleIcon);
        ::DestroyCursor(hCursor);
    }
    CentreOverPrevious(m_reticle);
}

// In buffers of its own: an elevated instance must never look like a plain one.
bool CDialog::MakeElevatedTitle() {
    wchar_t szTitle[128] = {};
    wchar_t szFormat[128] = {};
    wchar_t szElevated[256] = {};
    ::GetWindowTextW(m_hWnd, szTitle, ARRAYSIZE(szTitle));
    if (::LoadStringW(s_module.GetResourceInstance(), IDS_ADMIN_TITLE, szFormat, ARRAYSIZE(szFormat)) <= 0) {
        return false;
    }
    DWORD_PTR args[1] = {reinterpret_cast<DWORD_PTR>(szTitle)};
    return ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, szFormat, 0, 0, szElevated,
                            ARRAYSIZE(szElevated), reinterpret_cast<va_list*>(args)) != 0 &&
           ::SetWindowTextW(m_hWnd, szElevated);
}

bool CDialog::RunDialogInitData() {
    HINSTANCE hInst = s_module.GetResourceInstance();
    HRSRC hRes = ::FindResourceW(hInst, MAKEINTRESOURCEW(IDR_DLGINIT), MAKEINTRESOURCEW(RT_DLGINIT_TYPE));
    HGLOBAL hData = hRes != nullptr ? ::LoadResource(hInst, hRes) : nullptr;
    const void* pData = hData != nullptr ? ::LockResource(hData) : nullptr;
    if (pData == nullptr) {
        return true;  // a template without presets
    }
    CPodArray<DlgInitEntry> entries;
    if (!ParseDlgInit(pData, ::SizeofResource(hInst, hRes), &entries)) {
        return false;
    }
    wchar_t szText[64];
    for (const DlgInitEntry& entry : entries) {
        const HWND hWndCtrl = GetDlgItem(entry.nControlId);
        if (!AnsiToWide(entry.pData, static_cast<int>(entry.nLength), szText, ARRAYSIZE(szText))) {
            return false;
        }
        if (entry.nMessage == kDlgInitAddString16) {
            if (::SendMessageW(hWndCtrl, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(szText)) < 0) {
                return false;
            }
        } else if (entry.nMessage == kDlgInitComboBoxEx) {
            COMBOBOXEXITEMW item = {};
            item.mask = CBEIF_TEXT;
            item.iItem = -1;
            item.pszText = szText;
            if (::SendMessageW(hWndCtrl, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) == -1) {
                return false;
            }
        }
    }
    return true;
}

void CDialog::CentreOnWorkArea() {
    HMONITOR hMonitor = ::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (hMonitor == nullptr || !::GetMonitorInfoW(hMonitor, &mi)) {
        return;
    }
    RECT rc = {};
    GetWindowRect(&rc);
    const POINT pt = ComputeCentredTopLeft(mi.rcWork, mi.rcWork, rc.right - rc.left, rc.bottom - rc.top);
    ::SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::CentreOverPrevious(HWND hWndChild) {
    HWND hWndPrev = ::GetWindow(hWndChild, GW_HWNDPREV);
    RECT rcArea = {};
    RECT rcRef = {};
    RECT rcChild = {};
    GetClientRect(&rcArea);
    ::GetClientRect(hWndPrev, &rcRef);
    ::MapWindowPoints(hWndPrev, m_hWnd, reinterpret_cast<POINT*>(&rcRef), 2);
    ::GetWindowRect(hWndChild, &rcChild);
    const POINT pt =
        ComputeCentredTopLeft(rcRef, rcArea, rcChild.right - rcChild.left, rcChild.bottom - rcChild.top);
    ::SetWindowPos(hWndChild, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

    HMENU hMenu = ::LoadMenuW(s_module.GetResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (hMenu == nullptr) {
        return;
    }
    if (hWndClicked == GetDlgItem(IDC_WINDOWS) && !IsOnListHeader(pt, bKeyboard)) {
        HMENU hPopup = ::GetSubMenu(hMenu, 0);
        if (::MonitorFromPoint(pt, MONITOR_DEFAULTTONULL) == nullptr) {
            MONITORINFO mi = {};
            mi.cbSize = sizeof(mi);
            if (::GetMonitorInfoW(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi)) {
                pt.x = ClampIntoWorkArea(pt.x, mi.rcWork);
            }
        }
        ::TrackPopupMenu(hPopup, 0, pt.x, pt.y, 0, m_hWnd, nullptr);
    }
    ::DestroyMenu(hMenu);
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

void CDialog::ResetTargetControls() {
    m_targetWatcher.Stop();
    m_targetMove.Forget();
    for (int nId : kFieldIds) {
        EnableControl(nId, FALSE);
    }
    for (int nId = IDC_ANCHOR_CENTER; nId <= IDC_ANCHOR_BOTTOMRIGHT; ++nId) {
        EnableControl(nId, FALSE);
    }
    EnableControl(IDC_APPLY, FALSE);
    for (int nId : kFieldIds) {
        ::SetDlgItemTextW(m_hWnd, nId, nullptr);
    }
    EnableControl(IDC_RESTORE, FALSE);
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

// ---------------------------------------------------------------- displays and windows

BOOL CDialog::OnEnumMonitor(HMONITOR hMonitor) {
    MONITORINFOEXW mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(hMonitor, &mi);
    DISPLAY_DEVICEW dd = {};
    dd.cb = sizeof(dd);
    if (!::EnumDisplayDevicesW(mi.szDevice, 0, &dd, 0)) {
        // No monitor record: describe the display by its adapter instead.
        for (DWORD i = 0; ::EnumDisplayDevicesW(nullptr, i, &dd, 0); ++i) {
            if (::lstrcmpW(dd.DeviceName, mi.szDevice) == 0) {
                break;
            }
        }
    }
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
            ::MessageBeep(MB_ICONHAND);
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
    m_windowList.AddWindowItem(hWnd, info.rcWindow);
    return TRUE;
}

BOOL CDialog::LoadWindowList() {
    ResetTargetControls();
    m_hwndTarget = nullptr;
    const auto hMonitor = reinterpret_cast<HMONITOR>(m_monitorList.GetItemData(m_monitorList.GetCurSel()));
    ::GetMonitorInfoW(hMonitor, &m_monitorInfo);
    // Painting row by row costs more than the whole enumeration: draw once at the end.
    CRedrawSuspended noRedraw(m_windowList);
    m_windowList.DeleteAllWindowItems();
    if (!EnumerateWindows()) {
        return FALSE;
    }
    m_windowList.SortItems(m_windowList.m_iSortColumn, m_windowList.m_bSortDescending);
    return TRUE;
}

// ---------------------------------------------------------------- placement

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

void CDialog::EnableTargetControls() {
    const EnableState state = ComputeEnableState(m_targetInfo.dwStyle);
    EnableControl(IDC_WIDTH, state.bSizable);
    EnableControl(IDC_HEIGHT, state.bSizable);
    EnableControl(IDC_X, state.bMovable);
    EnableControl(IDC_Y, state.bMovable);
    for (int nId = IDC_ANCHOR_CENTER; nId <= IDC_ANCHOR_BOTTOMRIGHT; ++nId) {
        EnableControl(nId, state.bMovable);
    }
    EnableControl(IDC_APPLY, state.bMovable);
}

// Restore is usable once the target is away from where it was picked, whoever
// moved it; only a Restore that put it back exactly takes that back.
void CDialog::UpdateRestore(bool bMayDisable) {
    const bool bAway = m_rcRestore != m_targetInfo.rcWindow;
    if (bAway || bMayDisable) {
        EnableControl(IDC_RESTORE, bAway);
    }
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

LRESULT CDialog::OnWindowListItemChanged(const NMLISTVIEW* pnmlv) {
    if ((pnmlv->uChanged & LVIF_STATE) == 0 || ((pnmlv->uNewState ^ pnmlv->uOldState) & LVIS_SELECTED) == 0) {
        return 0;
    }
    if ((pnmlv->uNewState & LVIS_SELECTED) != 0) {
        SelectTarget(reinterpret_cast<HWND>(pnmlv->lParam));
    } else {
        ResetTargetControls();
        m_hwndTarget = nullptr;
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
        m_targetWatcher.Watch(m_hwndTarget);
    } else {
        Refresh();
    }
}

// The target is whatever the list has selected now (a selection changed while
// a move was under way is taken up afterwards).
void CDialog::FollowListSelection() {
    const HWND hWnd = m_windowList.SelectedWindow();
    if (hWnd == m_hwndTarget) {
        return;
    }
    if (hWnd == nullptr) {
        ResetTargetControls();
        m_hwndTarget = nullptr;
    } else {
        SelectTarget(hWnd);
    }
}

// The target moved: by itself, by the user, by a program restoring its place.
void CDialog::OnTargetLocationChange() { m_targetMove.OnLocationChange(); }

void CDialog::MeasureDefaultRect() {
    if (!::IsRectEmpty(&s_defaultWindowInfo.rcWindow)) {
        m_rcDefault = s_defaultWindowInfo.rcWindow;
        return;
    }
    HWND hWndProbe = ::CreateWindowExW(0, L"STATIC", nullptr, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                       s_module.GetResourceInstance(), nullptr);
    if (hWndProbe == nullptr) {
        return;
    }
    GetVisibleWindowInfo(hWndProbe, s_defaultWindowInfo);
    ::DestroyWindow(hWndProbe);
    m_rcDefault = s_defaultWindowInfo.rcWindow;
}

void CDialog::SnapAnchorGrid() {
    RECT rects[9];
    for (int i = 0; i < 9; ++i) {
        HWND hWndButton = GetDlgItem(kAnchorGridIds[i]);
        ::GetWindowRect(hWndButton, &rects[i]);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rects[i]), 2);
    }
    PackAnchorGrid(rects);
    for (int i = 0; i < 9; ++i) {
        ::MoveWindow(GetDlgItem(kAnchorGridIds[i]), rects[i].left, rects[i].top, rects[i].right - rects[i].left,
                     rects[i].bottom - rects[i].top, TRUE);
    }
}
