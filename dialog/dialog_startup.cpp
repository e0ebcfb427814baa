// Start-up and layout: the template's presets, icons and keys, the default
// rectangle, the anchor grid's packing and where the dialog first appears.
#include "dialog/dialog.h"

#include "dialog/dlginit.h"
#include "dialog/layout.h"
#include "geometry/anchor_grid.h"
#include "res/resource.h"
#include "win/dpi.h"
#include "win/handles.h"
#include "win/rights.h"

namespace {

// A preset's label; false when it does not fit.
bool AnsiToWide(const char* psz, int cb, wchar_t* pszText, int cchText) {
    const int cch = cb > 0 ? ::MultiByteToWideChar(CP_THREAD_ACP, 0, psz, cb, pszText, cchText - 1) : 0;
    if (cb > 0 && cch <= 0) {
        return false;
    }
    pszText[cch] = L'\0';  // the resource's text usually carries its own, too
    return true;
}

// One preset into its combo box: a plain one or an extended one.
bool AddPresetText(HWND hWndCtrl, WORD nMessage, wchar_t* pszText) {
    if (nMessage == kDlgInitAddString16) {
        return ::SendMessageW(hWndCtrl, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText)) >= 0;
    }
    if (nMessage == kDlgInitComboBoxEx) {
        COMBOBOXEXITEMW item = {};
        item.mask = CBEIF_TEXT;
        item.iItem = -1;
        item.pszText = pszText;
        return ::SendMessageW(hWndCtrl, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) != -1;
    }
    return true;
}

}  // namespace

WINDOWINFO CDialog::s_defaultWindowInfo = EmptyWindowInfo();

// What cannot be set up ends the start-up, reported as running out of memory
// (the one way these steps fail), rather than leaving a dialog that is quietly
// wrong: without a column, a preset, its keys or the word that it is elevated.
LRESULT CDialog::OnInitDialog() {
    if (!InitDialog()) {
        m_hrInit = E_OUTOFMEMORY;
        ::DestroyWindow(m_hWnd);
        return FALSE;
    }
    if (m_bHandOver) {
        ::PostMessageW(m_hWnd, kMsgTakeHandOver, 0, 0);  // once the dialog shows
    }
    return TRUE;
}

bool CDialog::InitDialog() {
    m_nDpi = WindowDpi(m_hWnd);
    if (IsProcessElevated() && !MakeElevatedTitle()) {
        return false;
    }
    SnapAnchorGrid();
    if (!RunDialogInitData()) {
        return false;
    }
    SetIcons();
    MeasureDefaultRect();
    if (!SubclassControls()) {
        return false;
    }
    m_hAccel.Reset(::LoadAcceleratorsW(s_module.GetResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME)));
    AddAboutItem();
    SetUpReticle();

    LoadMonitorList();
    m_monitorList.SetCurSel(0);
    LoadWindowList();

    CentreOnWorkArea();

    CMessageLoop* pLoop = s_module.GetMessageLoop();
    return pLoop == nullptr || (pLoop->AddMessageFilter(this) && pLoop->AddIdleHandler(this));
}

void CDialog::SetIcons() {
    const struct {
        WPARAM nType;
        int nCx, nCy;
    } kSizes[] = {{ICON_BIG, SM_CXICON, SM_CYICON}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
    for (const auto& size : kSizes) {
        const HICON hIcon = static_cast<HICON>(
            ::LoadImageW(s_module.GetResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                         MetricForDpi(size.nCx, m_nDpi), MetricForDpi(size.nCy, m_nDpi), LR_DEFAULTCOLOR));
        if (hIcon != nullptr) {
            // The icons of an earlier scale go.
            const LRESULT lOld = SendMessage(WM_SETICON, size.nType, reinterpret_cast<LPARAM>(hIcon));
            if (lOld != 0) {
                ::DestroyIcon(reinterpret_cast<HICON>(lOld));
            }
        }
    }
}

bool CDialog::SubclassControls() {
    if ((!m_monitorList.IsAttached() && !m_monitorList.SubclassWindow(GetDlgItem(IDC_DISPLAY))) ||
        (!m_windowList.IsAttached() && !m_windowList.SubclassWindow(GetDlgItem(IDC_WINDOWS), m_nDpi))) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (!m_coordValues[i].IsAttached() && !m_coordValues[i].SubclassWindow(GetDlgItem(kFieldIds[i]))) {
            return false;
        }
    }
    return true;
}

void CDialog::AddAboutItem() {
    wchar_t szText[128] = {};
    ::LoadStringW(s_module.GetResourceInstance(), IDS_ABOUTBOX, szText, ARRAYSIZE(szText));
    HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    ::InsertMenuW(hMenu, 0, MF_BYPOSITION | MF_STRING, IDM_ABOUTBOX, szText);
    ::InsertMenuW(hMenu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
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
        if (!AnsiToWide(entry.pData, static_cast<int>(entry.nLength), szText, ARRAYSIZE(szText)) ||
            !AddPresetText(GetDlgItem(entry.nControlId), entry.nMessage, szText)) {
            return false;
        }
    }
    return true;
}

void CDialog::CentreOnWorkArea() {
    RECT rcWork = {};
    if (!GetWorkArea(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &rcWork)) {
        return;
    }
    RECT rc = {};
    GetWindowRect(&rc);
    const POINT pt = ComputeCentredTopLeft(rcWork, rcWork, rc.right - rc.left, rc.bottom - rc.top);
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
