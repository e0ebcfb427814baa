// The main dialog created in-process from the linked resources.
#include <gtest/gtest.h>

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
