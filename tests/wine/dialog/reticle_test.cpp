// The finder's reticle on a real static, with a site that records what it hears.
#include <gtest/gtest.h>

#include <string>

#include "dialog/reticle.h"
#include "target_windows.h"

namespace {

class CRecordingSite : public CReticleSite {
public:
    std::wstring log;
    HWND accept = nullptr;
    BOOL OnReticleEnter(HWND hWnd) override {
        log += L"enter " + Name(hWnd) + L";";
        return hWnd == accept;
    }
    void OnReticleLeave(HWND hWnd) override { log += L"leave " + Name(hWnd) + L";"; }
    void OnReticleDrop(HWND hWnd) override { log += L"drop " + Name(hWnd) + L";"; }

private:
    static std::wstring Name(HWND hWnd) {
        wchar_t sz[64] = {};
        ::GetWindowTextW(hWnd, sz, 64);
        return hWnd == nullptr ? L"none" : sz;
    }
};

LPARAM ClientPoint(HWND hWndStatic, int x, int y) {
    POINT pt = {x, y};
    ::ScreenToClient(hWndStatic, &pt);
    return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
}

TEST(Reticle, ReportsWindowsEnteredLeftAndDroppedOn) {
    CTargetThread targets;
    targets.Create(L"first", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{600, 100, 900, 300});
    HWND hSecond = targets.Create(L"second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{600, 400, 900, 600});

    HWND hOwner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 20, 20, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 10, 32, 32, hOwner,
                                     nullptr, ::GetModuleHandleW(nullptr), nullptr);
    CRecordingSite site;
    site.accept = hSecond;
    CReticle reticle(&site);
    ASSERT_TRUE(reticle.SubclassWindow(hStatic));
    EXPECT_EQ(::SendMessageW(hStatic, WM_NCHITTEST, 0, 0), HTCLIENT);

    ::SendMessageW(hStatic, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(::GetCapture(), hStatic);
    EXPECT_FALSE(::IsWindowVisible(hStatic));

    ::SendMessageW(hStatic, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(hStatic, 700, 200));
    ::SendMessageW(hStatic, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(hStatic, 710, 210));
    ::SendMessageW(hStatic, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(hStatic, 700, 500));
    EXPECT_EQ(reticle.m_hWndFlash, hSecond);
    ::SendMessageW(hStatic, WM_LBUTTONUP, 0, ClientPoint(hStatic, 700, 500));
    EXPECT_EQ(site.log, L"enter first;leave first;enter second;drop second;");
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(hStatic));
    EXPECT_EQ(reticle.m_hWndHover, nullptr);
    EXPECT_EQ(reticle.m_hWndFlash, nullptr);
    EXPECT_EQ(reticle.m_hCursorPrev, nullptr);

    // Without the capture, moves and releases are swallowed and do nothing.
    site.log.clear();
    ::SendMessageW(hStatic, WM_MOUSEMOVE, 0, ClientPoint(hStatic, 700, 200));
    ::SendMessageW(hStatic, WM_LBUTTONUP, 0, ClientPoint(hStatic, 700, 200));
    EXPECT_EQ(site.log, L"");

    // A capture taken away ends the drag with no drop and no leave.
    ::SendMessageW(hStatic, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ::SendMessageW(hStatic, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(hStatic, 700, 500));
    ::ReleaseCapture();
    EXPECT_EQ(site.log, L"enter second;");
    EXPECT_TRUE(::IsWindowVisible(hStatic));
    EXPECT_EQ(reticle.m_hWndHover, nullptr);
    ::DestroyWindow(hOwner);
}

}  // namespace
