#include <gtest/gtest.h>

#include "app/app_module.h"
#include "enum/monitor_list.h"
#include "enum/window_enum.h"
#include "target_windows.h"

namespace {

class CCollector : public CEnumTopLevelWindows {
public:
    std::vector<HWND> m_windows;
    BOOL OnEnumWindow(HWND hWnd) override {
        m_windows.push_back(hWnd);
        return TRUE;
    }
};

TEST(Eligibility, VisibleCaptionedWindowsOfOtherThreads) {
    CTargetThread targets;
    const RECT rc = {40, 40, 240, 240};
    HWND hNormal = targets.Create(L"normal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, rc);
    HWND hTool = targets.Create(L"tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOOLWINDOW, rc);
    HWND hUntitled = targets.Create(L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, rc);
    HWND hMinimised = targets.Create(L"min", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MINIMIZE, 0, rc);
    HWND hHidden = targets.Create(L"hidden", WS_OVERLAPPEDWINDOW, 0, rc);
    // Wine shows a title bar for any part of WS_CAPTION, so the popup has no border at all.
    HWND hPopup = targets.Create(L"popup", WS_POPUP | WS_VISIBLE, 0, rc);
    EXPECT_TRUE(IsEligibleWindow(hNormal));
    EXPECT_TRUE(IsEligibleWindow(hTool));
    EXPECT_TRUE(IsEligibleWindow(hUntitled));
    EXPECT_TRUE(IsEligibleWindow(hMinimised));
    EXPECT_FALSE(IsEligibleWindow(hHidden));
    EXPECT_FALSE(IsEligibleWindow(hPopup));
    EXPECT_FALSE(IsEligibleWindow(nullptr));
    EXPECT_FALSE(IsEligibleWindow(::GetDesktopWindow()));

    // The same kind of window on the calling thread is never a target.
    HWND hOwn = ::CreateWindowExW(0, L"STATIC", L"own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_FALSE(IsEligibleWindow(hOwn));
    ::DestroyWindow(hOwn);

    targets.Destroy(hNormal);
    EXPECT_FALSE(IsEligibleWindow(hNormal));
}

TEST(Eligibility, VisibleInfoFallsBackToTheWindowRectangle) {
    CTargetThread targets;
    HWND h = targets.Create(L"t", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{-300, 10, 100, 310});
    WINDOWINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetVisibleWindowInfo(h, info));
    RECT rcWindow;
    ::GetWindowRect(h, &rcWindow);
    EXPECT_TRUE(::EqualRect(&info.rcWindow, &rcWindow));
    EXPECT_NE(info.dwStyle & WS_THICKFRAME, 0u);
    targets.Destroy(h);
    EXPECT_FALSE(GetVisibleWindowInfo(h, info));
}

TEST(Enumeration, ReportsEveryTopLevelWindow) {
    CTargetThread targets;
    HWND h = targets.Create(L"enumerated", WS_OVERLAPPEDWINDOW, 0, RECT{0, 0, 10, 10});
    CCollector collector;
    EXPECT_TRUE(collector.EnumerateWindows());
    EXPECT_NE(std::find(collector.m_windows.begin(), collector.m_windows.end(), h), collector.m_windows.end());
}

TEST(MonitorList, SelectsByHandleOrClears) {
    HWND hCombo = ::CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 100, 100, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    CMonitorList list;
    ASSERT_TRUE(list.SubclassWindow(hCombo));
    for (int i = 0; i < 3; ++i) {
        list.SetItemData(list.AddString(L"x"), 0x100 + i);
    }
    EXPECT_EQ(list.SelectMonitor(reinterpret_cast<HMONITOR>(0x102)), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.SelectMonitor(reinterpret_cast<HMONITOR>(0x999)), CB_ERR);
    EXPECT_EQ(list.GetCurSel(), CB_ERR);
    ::DestroyWindow(hCombo);
}

}  // namespace
