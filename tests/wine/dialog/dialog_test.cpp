// The main dialog created in-process from the linked resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "dialog/dialog.h"
#include "target_windows.h"

namespace {

class InProcessDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_dlg.Create(s_module.GetResourceInstance()), nullptr); }
    void TearDown() override {
        if (m_dlg.m_hWnd != nullptr) {
            ::DestroyWindow(m_dlg.m_hWnd);
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // What the dialog posted to itself, handled as its message loop would.
    static void DispatchQueued() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    CDialog m_dlg;
};

TEST_F(InProcessDialog, ReticleShowsTheCursorCentredOnItsFrame) {
    HWND hWndReticle = m_dlg.GetDlgItem(IDC_RETICLE);
    EXPECT_EQ(m_dlg.m_reticle.m_hWnd, hWndReticle);
    HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(hWndReticle, STM_GETICON, 0, 0));
    ASSERT_NE(hIcon, nullptr);
    ICONINFO ii = {};
    ASSERT_TRUE(::GetIconInfo(hIcon, &ii));
    EXPECT_EQ(ii.xHotspot * 2, static_cast<DWORD>(::GetSystemMetrics(SM_CXCURSOR)));
    if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor) ::DeleteObject(ii.hbmColor);

    RECT rcReticle;
    ::GetWindowRect(hWndReticle, &rcReticle);
    EXPECT_EQ(rcReticle.right - rcReticle.left, ::GetSystemMetrics(SM_CXCURSOR));
    EXPECT_TRUE(::IsWindowVisible(hWndReticle));
    RECT rcFrame;
    ::GetWindowRect(::GetWindow(hWndReticle, GW_HWNDPREV), &rcFrame);
    EXPECT_LE(std::abs((rcReticle.left + rcReticle.right) - (rcFrame.left + rcFrame.right)), 1);
    EXPECT_LE(std::abs((rcReticle.top + rcReticle.bottom) - (rcFrame.top + rcFrame.bottom)), 1);
}

// (Wine answers another process's WM_GETICON with nothing, so the icons are checked here.)
TEST_F(InProcessDialog, TitleBarIconsAndTheAboutItemOfTheWindowMenu) {
    EXPECT_NE(::SendMessageW(m_dlg.m_hWnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(::SendMessageW(m_dlg.m_hWnd, WM_GETICON, ICON_SMALL, 0), 0);
    HMENU hMenu = ::GetSystemMenu(m_dlg.m_hWnd, FALSE);
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(::GetMenuItemID(hMenu, 0), static_cast<UINT>(IDM_ABOUTBOX));
    wchar_t sz[128] = {};
    ::GetMenuStringW(hMenu, 0, sz, 128, MF_BYPOSITION);
    EXPECT_STREQ(sz, L"&About Ovrin's Window Resizer");
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoW(hMenu, 1, TRUE, &mii));
    EXPECT_NE(mii.fType & MFT_SEPARATOR, 0u);
    EXPECT_GT(::GetMenuItemCount(hMenu), 2);
}

// What the dialog sizes itself, read back: "number column, icon, reticle".
// (The up-downs' line follows the fields, which only Windows rescales.)
std::wstring ScaledParts(const CDialog& dlg) {
    int cxIcon = 0;
    int cyIcon = 0;
    ::ImageList_GetIconSize(dlg.m_windowList.GetImageList(LVSIL_SMALL), &cxIcon, &cyIcon);
    RECT rcReticle = {};
    ::GetWindowRect(dlg.m_reticle.m_hWnd, &rcReticle);
    const int cxColumn = static_cast<int>(::SendMessageW(dlg.m_windowList.m_hWnd, LVM_GETCOLUMNWIDTH, 1, 0));
    return std::to_wstring(cxColumn) + L"," + std::to_wstring(cxIcon) + L"x" + std::to_wstring(cyIcon) + L"," +
           std::to_wstring(rcReticle.right - rcReticle.left);
}

// Windows sends WM_DPICHANGED when the dialog reaches a display of another
// scale; Wine gives every display one, so the message is sent here.
TEST_F(InProcessDialog, AtAnotherScaleWhatTheDialogSizedItselfFollows) {
    CTargetThread targets;
    const HWND hTarget = targets.Create(L"in-process scale", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{0, 0, 300, 200});
    m_dlg.Refresh();
    ASSERT_EQ(m_dlg.m_nDpi, 96u) << "the test expects a prefix at 96 DPI";
    const int cxNumber = static_cast<int>(::SendMessageW(m_dlg.m_windowList.m_hWnd, LVM_GETCOLUMNWIDTH, 1, 0));
    const struct {
        UINT nDpi;
        RECT rcSuggested;
        std::wstring parts;
    } rows[] = {
        {144, {100, 50, 700, 500}, std::to_wstring(cxNumber * 3 / 2) + L",24x24,48"},
        {96, {100, 50, 500, 350}, std::to_wstring(cxNumber) + L",16x16,32"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.nDpi);
        ::SendMessageW(m_dlg.m_hWnd, WM_DPICHANGED, MAKEWPARAM(row.nDpi, row.nDpi),
                       reinterpret_cast<LPARAM>(&row.rcSuggested));
        // Once the dialog manager has done its part: the program's follows from the queue.
        DispatchQueued();
        EXPECT_EQ(ScaledParts(m_dlg), row.parts);
        RECT rcDialog = {};
        ::GetWindowRect(m_dlg.m_hWnd, &rcDialog);
        EXPECT_TRUE(rcDialog == row.rcSuggested);
        // Every row's icon again, at the new size: the target's among them.
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = m_dlg.m_windowList.FindWindowItem(hTarget);
        ::SendMessageW(m_dlg.m_windowList.m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_GE(item.iImage, 0);
        // The reticle stays centred in its frame.
        RECT rcReticle = {};
        RECT rcFrame = {};
        ::GetWindowRect(m_dlg.m_reticle.m_hWnd, &rcReticle);
        ::GetWindowRect(::GetWindow(m_dlg.m_reticle.m_hWnd, GW_HWNDPREV), &rcFrame);
        EXPECT_LE(std::abs((rcReticle.left + rcReticle.right) - (rcFrame.left + rcFrame.right)), 1);
    }
}

// The pixels of the reticle's image on the face colour that differ from it,
// and those that its mask shows.
std::pair<int, int> ReticleOnFace(HWND hWndReticle) {
    const HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(hWndReticle, STM_GETICON, 0, 0));
    BITMAP bm = {};
    {
        const CIconBitmaps bitmaps(hIcon);
        if (!bitmaps.bValid) {
            return {0, 0};
        }
        ::GetObjectW(bitmaps.ii.hbmMask, sizeof(bm), &bm);
        bm.bmHeight = bitmaps.ii.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
    }
    const int cPixels = bm.bmWidth * bm.bmHeight;
    const CMemoryDc dc(::CreateCompatibleDC(nullptr));
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    const DWORD dwFace = GetRValue(crFace) << 16 | GetGValue(crFace) << 8 | GetBValue(crFace);
    std::pair<int, int> counts = {0, 0};
    for (int pass = 0; pass < 2; ++pass) {
        const CBitmapOwner dib(CreateDib32(dc, bm.bmWidth, bm.bmHeight));
        BITMAP dibInfo = {};
        ::GetObjectW(dib, sizeof(dibInfo), &dibInfo);
        auto* pixels = static_cast<DWORD*>(dibInfo.bmBits);
        std::fill(pixels, pixels + cPixels, pass == 0 ? dwFace : 0xFFFFFF);
        const HGDIOBJ hOld = ::SelectObject(dc, dib);
        ::DrawIconEx(dc, 0, 0, hIcon, bm.bmWidth, bm.bmHeight, 0, nullptr, pass == 0 ? DI_NORMAL : DI_MASK);
        ::SelectObject(dc, hOld);
        for (int i = 0; i < cPixels; ++i) {
            const DWORD dwPixel = pixels[i] & 0xFFFFFF;
            (pass == 0 ? counts.first : counts.second) += pass == 0 ? dwPixel != dwFace : dwPixel == 0;
        }
    }
    return counts;
}

std::vector<HWND> s_colourChanged;

LRESULT CALLBACK RecordColourChange(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* pcwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pcwp->message == WM_SYSCOLORCHANGE) {
        s_colourChanged.push_back(pcwp->hwnd);
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST_F(InProcessDialog, InHighContrastTheControlsHearOfItAndTheReticleStaysVisible) {
    const int kElements[] = {COLOR_BTNFACE, COLOR_BTNTEXT};
    COLORREF before[2];
    for (int i = 0; i < 2; ++i) before[i] = ::GetSysColor(kElements[i]);
    const struct {
        const char* name;
        COLORREF colours[2];
        bool bAllShown;  // else the white of the picture is lost on the face, its ink not
    } rows[] = {
        {"black", {RGB(0, 0, 0), RGB(255, 255, 255)}, true},
        {"white", {RGB(255, 255, 255), RGB(0, 0, 0)}, false},
    };
    const HHOOK hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordColourChange, nullptr, ::GetCurrentThreadId());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        s_colourChanged.clear();
        ASSERT_TRUE(::SetSysColors(2, kElements, row.colours));
        // The system tells top-level windows only; the dialog tells its controls.
        ::SendMessageW(m_dlg.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
        const HWND controls[] = {m_dlg.m_windowList.m_hWnd, m_dlg.m_windowList.GetHeader(),
                                 m_dlg.GetDlgItem(IDC_WIDTH_SPIN)};
        for (HWND hWnd : controls) {
            EXPECT_NE(std::count(s_colourChanged.begin(), s_colourChanged.end(), hWnd), 0);
        }
        const auto [shown, opaque] = ReticleOnFace(m_dlg.m_reticle.m_hWnd);
        EXPECT_GT(opaque, 100);
        EXPECT_GE(shown, row.bAllShown ? opaque : opaque / 2) << shown << " of " << opaque;
    }
    ::UnhookWindowsHookEx(hHook);
    ::SetSysColors(2, kElements, before);
    ::SendMessageW(m_dlg.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
}

// The list is not rebuilt while it is still handling the selection.
TEST_F(InProcessDialog, AGoneWindowsRowIsDroppedAfterTheSelectionNotInsideIt) {
    CTargetThread targets;
    const HWND hGone = targets.Create(L"in-process gone", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{0, 0, 300, 200});
    m_dlg.Refresh();
    targets.Destroy(hGone);
    m_dlg.m_windowList.SelectWindowItem(m_dlg.m_windowList.FindWindowItem(hGone));
    EXPECT_NE(m_dlg.m_windowList.FindWindowItem(hGone), -1);
    EXPECT_EQ(m_dlg.m_hwndTarget, nullptr);
    DispatchQueued();
    EXPECT_EQ(m_dlg.m_windowList.FindWindowItem(hGone), -1);
}

// Windows' up-down reads plain digits only (Wine's reads full-width ones too),
// so the dialog steps a full-width number when the up-down asks.
TEST_F(InProcessDialog, AFullWidthNumberIsSteppedByTheDialog) {
    const struct {
        const wchar_t* text;
        int nDelta;
        LRESULT lStepped;
        const wchar_t* after;
    } rows[] = {
        {L"\xFF11\xFF12\xFF18\xFF10", 1, TRUE, L"1281"},
        {L"\xFF0D\xFF14\xFF10", -1, TRUE, L"-41"},
        {L"\xFF13\xFF12\xFF17\xFF16\xFF17", 1, TRUE, L"32767"},
        {L"640", 1, FALSE, L"640"},  // the up-down's own
        {L"\xFF11x", 1, FALSE, L"\xFF11x"},
    };
    for (const auto& row : rows) {
        ::SetDlgItemTextW(m_dlg.m_hWnd, IDC_WIDTH, row.text);
        NMUPDOWN nmud = {};
        nmud.hdr.hwndFrom = m_dlg.GetDlgItem(IDC_WIDTH_SPIN);
        nmud.hdr.idFrom = IDC_WIDTH_SPIN;
        nmud.hdr.code = UDN_DELTAPOS;
        nmud.iDelta = row.nDelta;
        const LPARAM lParam = reinterpret_cast<LPARAM>(&nmud);
        EXPECT_EQ(::SendMessageW(m_dlg.m_hWnd, WM_NOTIFY, IDC_WIDTH_SPIN, lParam), row.lStepped);
        wchar_t sz[32] = {};
        ::GetDlgItemTextW(m_dlg.m_hWnd, IDC_WIDTH, sz, 32);
        EXPECT_STREQ(sz, row.after);
    }
}

TEST_F(InProcessDialog, SettingChangesRefreshOnlyForTheWorkArea) {
    CTargetThread targets;
    HWND hTarget = targets.Create(L"in-process target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{0, 0, 300, 200});
    m_dlg.Refresh();
    m_dlg.m_windowList.SelectWindowItem(m_dlg.m_windowList.FindWindowItem(hTarget));
    ASSERT_EQ(m_dlg.m_hwndTarget, hTarget);
    ::SendMessageW(m_dlg.m_hWnd, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    EXPECT_EQ(m_dlg.m_hwndTarget, hTarget);
    ::SendMessageW(m_dlg.m_hWnd, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_EQ(m_dlg.m_hwndTarget, nullptr);
    m_dlg.m_windowList.SelectWindowItem(m_dlg.m_windowList.FindWindowItem(hTarget));
    ASSERT_EQ(m_dlg.m_hwndTarget, hTarget);
    ::SendMessageW(m_dlg.m_hWnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    EXPECT_EQ(m_dlg.m_hwndTarget, nullptr);
}

TEST_F(InProcessDialog, DroppingTheReticlePicksOnlyEligibleWindows) {
    CTargetThread targets;
    HWND hTarget = targets.Create(L"in-process pick", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{0, 0, 300, 200});
    EXPECT_FALSE(m_dlg.OnReticleEnter(m_dlg.m_hWnd));
    EXPECT_TRUE(m_dlg.OnReticleEnter(hTarget));

    m_dlg.OnReticleDrop(hTarget);
    EXPECT_EQ(m_dlg.m_hwndTarget, hTarget);
    EXPECT_EQ(::GetFocus(), m_dlg.GetDlgItem(IDC_WINDOWS));
    EXPECT_EQ(m_dlg.m_windowList.SelectedWindow(), hTarget);

    // A drop on nothing pickable changes nothing: the lists are not rebuilt,
    // so the target stays.
    m_dlg.OnReticleDrop(nullptr);
    m_dlg.OnReticleDrop(m_dlg.m_hWnd);
    m_dlg.OnReticleDrop(::GetDesktopWindow());
    EXPECT_EQ(m_dlg.m_hwndTarget, hTarget);
}

TEST(DialogInitData, EmptyOrMissingDisplayListStillFillsTheWindows) {
    CTargetThread targets;
    HWND hTarget = targets.Create(L"no display", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{0, 0, 300, 200});
    CDialog dlg;
    ASSERT_NE(dlg.Create(s_module.GetResourceInstance()), nullptr);
    dlg.m_monitorList.ResetContent();
    EXPECT_TRUE(dlg.LoadWindowList());
    EXPECT_GE(dlg.m_windowList.FindWindowItem(hTarget), 0);
    ::DestroyWindow(dlg.m_hWnd);
}

}  // namespace
