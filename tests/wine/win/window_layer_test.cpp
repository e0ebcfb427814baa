#include <gtest/gtest.h>

#include <vector>

#include "app/app_module.h"
#include "res/resource.h"
#include "win/dialog_impl.h"
#include "win/window_impl.h"

namespace {

constexpr UINT WM_TEST_HANDLED = WM_APP + 10;
constexpr UINT WM_TEST_PASSED_ON = WM_APP + 11;

// Records what reaches it; handles one message and lets the rest through.
class CRecorder : public CWindowImpl<CRecorder, CWindow> {
public:
    std::vector<UINT> m_seen;
    std::vector<DWORD> m_maps;
    int m_nFinal = 0;
    CContainedWindow m_wndChild{this, 7};

    BOOL ProcessWindowMessage(HWND, UINT uMsg, WPARAM, LPARAM, LRESULT& lResult, DWORD dwMsgMapID) override {
        m_seen.push_back(uMsg);
        m_maps.push_back(dwMsgMapID);
        if (uMsg == WM_TEST_HANDLED) {
            lResult = 1234;
            return TRUE;
        }
        if (uMsg == WM_SETTEXT && dwMsgMapID == 0) {
            // Unmarked: the control's own procedure still sets the text.
            return FALSE;
        }
        if (uMsg >= OCM_BASE_OFFSET && uMsg < OCM_BASE_OFFSET + 0x400) {
            lResult = 77;
            return TRUE;
        }
        return FALSE;
    }
    void OnFinalMessage(HWND) override { ++m_nFinal; }
    bool Saw(UINT uMsg) const {
        for (UINT m : m_seen) {
            if (m == uMsg) return true;
        }
        return false;
    }
};

HWND MakeStatic(HWND hWndParent = nullptr, int nId = 0) {
    return ::CreateWindowExW(0, L"STATIC", L"start", hWndParent ? WS_CHILD : WS_POPUP, 0, 0, 50, 20, hWndParent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), ::GetModuleHandleW(nullptr),
                             nullptr);
}

TEST(Subclassing, HandledMessagesStopUnhandledOnesReachTheControl) {
    HWND hWnd = MakeStatic();
    CRecorder rec;
    ASSERT_TRUE(rec.SubclassWindow(hWnd));
    EXPECT_EQ(rec.m_hWnd, hWnd);
    EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_HANDLED, 0, 0), 1234);
    ::SetWindowTextW(hWnd, L"changed");
    wchar_t sz[32] = {};
    ::GetWindowTextW(hWnd, sz, 32);
    EXPECT_STREQ(sz, L"changed");
    EXPECT_TRUE(rec.Saw(WM_SETTEXT));
    // The static's own procedure answers what we do not.
    EXPECT_EQ(::SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0), 7);
    ::DestroyWindow(hWnd);
}

TEST(Subclassing, DestructionDetachesAndCallsTheFinalHook) {
    HWND hWnd = MakeStatic();
    CRecorder rec;
    ASSERT_TRUE(rec.SubclassWindow(hWnd));
    ::DestroyWindow(hWnd);
    EXPECT_TRUE(rec.Saw(WM_NCDESTROY));
    EXPECT_EQ(rec.m_hWnd, nullptr);
    EXPECT_EQ(rec.m_nFinal, 1);
    // The object can take over another control afterwards.
    HWND hWnd2 = MakeStatic();
    EXPECT_TRUE(rec.SubclassWindow(hWnd2));
    ::DestroyWindow(hWnd2);
}

TEST(Subclassing, UnsubclassPutsTheOriginalProcedureBack) {
    HWND hWnd = MakeStatic();
    const LONG_PTR original = ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
    {
        CRecorder rec;
        ASSERT_TRUE(rec.SubclassWindow(hWnd));
        EXPECT_NE(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), original);
        // One object per window: a second subclass of the same control is refused.
        CRecorder other;
        EXPECT_FALSE(other.SubclassWindow(hWnd));
        EXPECT_EQ(rec.UnsubclassWindow(), hWnd);
        EXPECT_EQ(rec.m_hWnd, nullptr);
        EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), original);
        ASSERT_TRUE(rec.SubclassWindow(hWnd));
    }
    // An object that dies before its window leaves the window working.
    EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), original);
    EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_HANDLED, 0, 0), 0);
    EXPECT_FALSE(CRecorder().SubclassWindow(nullptr));
    ::DestroyWindow(hWnd);
}

TEST(Subclassing, ContainedWindowUsesTheAlternateMap) {
    HWND hWndParent = MakeStatic();
    HWND hWndChild = MakeStatic(hWndParent, 5);
    CRecorder rec;
    ASSERT_TRUE(rec.SubclassWindow(hWndParent));
    ASSERT_TRUE(rec.m_wndChild.SubclassWindow(hWndChild));
    rec.m_seen.clear();
    rec.m_maps.clear();
    EXPECT_EQ(::SendMessageW(hWndChild, WM_TEST_HANDLED, 0, 0), 1234);
    ASSERT_EQ(rec.m_maps.size(), 1u);
    EXPECT_EQ(rec.m_maps[0], 7u);
    ::DestroyWindow(hWndParent);
    EXPECT_EQ(rec.m_wndChild.m_hWnd, nullptr);
}

// A dialog from the program's own template, with a map that exercises the result rules.
class CProbeDialog : public CDialogImpl<CProbeDialog> {
public:
    UINT m_nDialogId = IDD_MAINDLG;
    bool m_bInit = false;
    HWND m_hWndFinal = nullptr;

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID) override {
        if (dwMsgMapID != 0) return FALSE;
        switch (uMsg) {
        case WM_INITDIALOG:
            m_bInit = true;
            lResult = TRUE;
            return TRUE;
        case WM_TEST_HANDLED:
            lResult = 4321;
            return TRUE;
        case WM_CTLCOLORSTATIC:
            lResult = 0x5150;
            return TRUE;
        case WM_TEST_PASSED_ON:
            lResult = 99;
            return FALSE;
        default:
            return ReflectNotifications(hWnd, uMsg, wParam, lParam, lResult);
        }
    }
    void OnFinalMessage(HWND hWnd) override { m_hWndFinal = hWnd; }
};

TEST(DialogImpl, ResultRulesAndDetachAfterDestruction) {
    CProbeDialog dlg;
    HWND hWnd = dlg.Create(s_module.GetResourceInstance());
    ASSERT_NE(hWnd, nullptr);
    EXPECT_TRUE(dlg.m_bInit);
    EXPECT_EQ(dlg.m_hWnd, hWnd);
    // Through DWLP_MSGRESULT for ordinary messages, directly for the colour messages.
    EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_HANDLED, 0, 0), 4321);
    EXPECT_EQ(::SendMessageW(hWnd, WM_CTLCOLORSTATIC, 0, 0), 0x5150);
    // Unhandled: the dialog manager's default answer, not the handler's value.
    EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_PASSED_ON, 0, 0), 0);
    EXPECT_TRUE(CDialogImplBase::ReturnsResultDirectly(WM_COMPAREITEM));
    EXPECT_TRUE(CDialogImplBase::ReturnsResultDirectly(WM_CTLCOLORMSGBOX));
    EXPECT_FALSE(CDialogImplBase::ReturnsResultDirectly(WM_NOTIFY));
    EXPECT_FALSE(CDialogImplBase::ReturnsResultDirectly(WM_CTLCOLORSTATIC + 1));
    ::DestroyWindow(hWnd);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_hWndFinal, hWnd);
}

TEST(DialogImpl, NotificationsAreReflectedToTheirControl) {
    CProbeDialog dlg;
    HWND hWnd = dlg.Create(s_module.GetResourceInstance());
    ASSERT_NE(hWnd, nullptr);
    HWND hWndApply = ::GetDlgItem(hWnd, IDC_APPLY);
    CRecorder rec;
    ASSERT_TRUE(rec.SubclassWindow(hWndApply));
    rec.m_seen.clear();

    // WM_COMMAND goes to the control in lParam, with 0x2000 added.
    EXPECT_EQ(::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDC_APPLY, 5),
                             reinterpret_cast<LPARAM>(hWndApply)), 77);
    ASSERT_FALSE(rec.m_seen.empty());
    EXPECT_EQ(rec.m_seen.back(), OCM_BASE_OFFSET + WM_COMMAND);

    NMHDR nm = {hWndApply, IDC_APPLY, 12345};
    EXPECT_EQ(::SendMessageW(hWnd, WM_NOTIFY, IDC_APPLY, reinterpret_cast<LPARAM>(&nm)), 77);
    EXPECT_EQ(rec.m_seen.back(), OCM_BASE_OFFSET + WM_NOTIFY);

    EXPECT_EQ(::SendMessageW(hWnd, WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(hWndApply)), 77);
    EXPECT_EQ(rec.m_seen.back(), OCM_BASE_OFFSET + WM_CTLCOLORBTN);

    // WM_PARENTNOTIFY for a click names the child by id in the high word.
    ::SendMessageW(hWnd, WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, IDC_APPLY), 0);
    EXPECT_EQ(rec.m_seen.back(), OCM_BASE_OFFSET + WM_PARENTNOTIFY);

    // No control: not handled, result 1.
    LRESULT lResult = 0;
    EXPECT_FALSE(ReflectNotifications(hWnd, WM_COMMAND, MAKEWPARAM(1013, 0), 0, lResult));
    EXPECT_EQ(lResult, 1);
    EXPECT_FALSE(ReflectNotifications(hWnd, WM_DRAWITEM, 0, 0, lResult));
    EXPECT_FALSE(ReflectNotifications(hWnd, WM_MOUSEMOVE, 0, 0, lResult));
    ::DestroyWindow(hWnd);
}

class COrderFilter : public CMessageFilter, public CIdleHandler {
public:
    COrderFilter(std::vector<int>& log, int id, bool consume) : m_log(log), m_id(id), m_bConsume(consume) {}
    BOOL PreTranslateMessage(MSG*) override {
        m_log.push_back(m_id);
        return m_bConsume;
    }
    BOOL OnIdle() override {
        m_log.push_back(100 + m_id);
        return TRUE;
    }

private:
    std::vector<int>& m_log;
    int m_id;
    bool m_bConsume;
};

TEST(MessageLoop, FiltersRunLastAddedFirstAndTheFirstTrueConsumes) {
    std::vector<int> log;
    COrderFilter a(log, 1, false), b(log, 2, true), c(log, 3, false);
    CMessageLoop loop;
    loop.AddMessageFilter(&a);
    loop.AddMessageFilter(&b);
    loop.AddMessageFilter(&c);
    MSG msg = {};
    EXPECT_TRUE(loop.PreTranslateMessage(&msg));
    EXPECT_EQ(log, (std::vector<int>{3, 2}));
    log.clear();
    loop.RemoveMessageFilter(&b);
    EXPECT_FALSE(loop.PreTranslateMessage(&msg));
    EXPECT_EQ(log, (std::vector<int>{3, 1}));
}

TEST(MessageLoop, IdleHandlersRunInOrderAndIdleStopsAfterOneRound) {
    std::vector<int> log;
    COrderFilter a(log, 1, false), b(log, 2, false);
    CMessageLoop loop;
    loop.AddIdleHandler(&a);
    loop.AddIdleHandler(&b);
    EXPECT_FALSE(loop.OnIdle(0));
    EXPECT_EQ(log, (std::vector<int>{101, 102}));
    EXPECT_TRUE(loop.RemoveIdleHandler(&a));
    EXPECT_FALSE(loop.RemoveIdleHandler(&a));

    for (UINT quiet : {UINT{WM_MOUSEMOVE}, UINT{WM_NCMOUSEMOVE}, UINT{WM_PAINT}, 0x0118u}) {
        MSG msg = {};
        msg.message = quiet;
        EXPECT_FALSE(loop.IsIdleMessage(&msg)) << quiet;
    }
    MSG key = {};
    key.message = WM_KEYDOWN;
    EXPECT_TRUE(loop.IsIdleMessage(&key));
}

TEST(MessageLoop, RunDispatchesUnconsumedMessagesAndReturnsTheQuitCode) {
    std::vector<int> log;
    COrderFilter pass(log, 1, false);
    CMessageLoop loop;
    loop.AddMessageFilter(&pass);
    HWND hWnd = MakeStatic();
    CRecorder rec;
    ASSERT_TRUE(rec.SubclassWindow(hWnd));
    ::PostMessageW(hWnd, WM_TEST_HANDLED, 0, 0);
    ::PostQuitMessage(17);
    EXPECT_EQ(loop.Run(), 17);
    EXPECT_TRUE(rec.Saw(WM_TEST_HANDLED));
    EXPECT_FALSE(log.empty());
    ::DestroyWindow(hWnd);
}

// The short buffer's edge: texts that just fit, just fill it and just overflow it.
TEST(WindowText, ReadsWholeTextsOfEveryLength) {
    HWND hWnd = MakeStatic();
    for (size_t n : {0u, 1u, 254u, 255u, 256u, 257u, 5000u}) {
        std::wstring text;
        for (size_t i = 0; i < n; ++i) text.push_back(static_cast<wchar_t>(L'a' + i % 26));
        ASSERT_TRUE(::SetWindowTextW(hWnd, text.c_str()));
        CWideString read;
        ASSERT_TRUE(CWindow(hWnd).GetText(&read));
        EXPECT_EQ(read.View(), text) << n << " characters";
    }
    ::DestroyWindow(hWnd);
}

}  // namespace
