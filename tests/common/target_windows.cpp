#include "target_windows.h"

#include "tests/dwm_double/frame_rule.h"

namespace {
const wchar_t kTargetClass[] = L"KelpoTestTarget";
const wchar_t kTargetClassNoIcon[] = L"KelpoTestTargetNoIcon";
constexpr UINT WM_APP_CREATE = WM_APP + 1;
constexpr UINT WM_APP_DESTROY = WM_APP + 2;
constexpr UINT WM_APP_SHOW = WM_APP + 4;
constexpr UINT WM_APP_HANG = WM_APP + 5;
constexpr UINT WM_APP_EVENTS = WM_APP + 6;
const wchar_t kMinTrackX[] = L"Kelpo.MinTrackX";
const wchar_t kMinTrackY[] = L"Kelpo.MinTrackY";
const wchar_t kHangAtIcon[] = L"Kelpo.HangAtIcon";
const wchar_t kScale[] = L"Kelpo.Scale";  // the scale the window last saw, when it rescales
const wchar_t kOwnMove[] = L"Kelpo.OwnMove";  // set while it moves itself
const wchar_t kMoves[] = L"Kelpo.Moves";
const wchar_t kLateMs[] = L"Kelpo.LateMs";
const wchar_t* const kHome[4] = {L"Kelpo.HomeX", L"Kelpo.HomeY", L"Kelpo.HomeCX", L"Kelpo.HomeCY"};  // jumps back there
const wchar_t kJumpMs[] = L"Kelpo.JumpMs";
const wchar_t kHangMs[] = L"Kelpo.HangMs";
const wchar_t kHangInsideMs[] = L"Kelpo.HangInsideMs";
const wchar_t kActivations[] = L"Kelpo.Activations";
const wchar_t kCloseAfterMove[] = L"Kelpo.CloseAfterMove";
const wchar_t kInsertAfter[] = L"Kelpo.InsertAfter";
constexpr UINT_PTR kRescaleTimer = 1;
constexpr UINT_PTR kJumpTimer = 2;

INT_PTR Prop(HWND hWnd, const wchar_t* name) { return reinterpret_cast<INT_PTR>(::GetPropW(hWnd, name)); }
void SetProp(HWND hWnd, const wchar_t* name, INT_PTR value) {
    ::SetPropW(hWnd, name, reinterpret_cast<HANDLE>(value));
}

struct CreateRequest {
    const std::wstring* title;
    DWORD dwStyle;
    DWORD dwExStyle;
    RECT rc;
    bool bIcon;
    HWND hWndOwner;
};

RECT WindowRectOf(HWND hWnd) {
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

// Resizes by the ratio of the scale it last saw to the one it is on now,
// keeping its top-left corner, as a per-monitor aware program does on WM_DPICHANGED.
void Rescale(HWND hWnd) {
    const RECT rc = WindowRectOf(hWnd);
    const INT_PTR was = Prop(hWnd, kScale);
    const int now = DoubleScalePercent(rc);
    if (was == 0 || was == now) {
        return;
    }
    SetProp(hWnd, kScale, now);
    SetProp(hWnd, kOwnMove, 1);
    ::SetWindowPos(hWnd, nullptr, 0, 0, ::MulDiv(rc.right - rc.left, now, static_cast<int>(was)),
                   ::MulDiv(rc.bottom - rc.top, now, static_cast<int>(was)), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::RemovePropW(hWnd, kOwnMove);
}
}  // namespace

LRESULT CALLBACK CTargetThread::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_APP_CREATE: {
        const auto* req = reinterpret_cast<const CreateRequest*>(lParam);
        return reinterpret_cast<LRESULT>(::CreateWindowExW(
            req->dwExStyle, req->bIcon ? kTargetClass : kTargetClassNoIcon, req->title->c_str(), req->dwStyle,
            req->rc.left, req->rc.top, req->rc.right - req->rc.left, req->rc.bottom - req->rc.top, req->hWndOwner,
            nullptr, ::GetModuleHandleW(nullptr), nullptr));
    }
    case WM_APP_DESTROY:
        return ::DestroyWindow(reinterpret_cast<HWND>(lParam));
    case WM_GETICON: {
        // Hung: every icon query to the thread's windows goes unanswered until
        // the time is up, while titles are still answered (for a window of its
        // own process, GetWindowText waits for the thread as a message would).
        static thread_local ULONGLONG s_hungUntil = 0;
        if (HANDLE h = ::RemovePropW(hWnd, kHangAtIcon)) {
            s_hungUntil = ::GetTickCount64() + static_cast<DWORD>(reinterpret_cast<UINT_PTR>(h));
        }
        for (ULONGLONG now = ::GetTickCount64(); now < s_hungUntil; now = ::GetTickCount64()) {
            ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(s_hungUntil - now), QS_SENDMESSAGE, 0);
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // answers what was sent
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    case WM_APP_EVENTS:
        for (WPARAM i = 0; i < wParam; ++i) {
            ::NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, reinterpret_cast<HWND>(lParam), OBJID_WINDOW, CHILDID_SELF);
        }
        return 0;
    case WM_APP_SHOW:
        return ::ShowWindow(reinterpret_cast<HWND>(lParam), static_cast<int>(wParam));
    case WM_WINDOWPOSCHANGED: {
        // Raises the location change that Windows raises for every move (Wine
        // raises none), counts the moves it is given, and answers them as the
        // test set it to: rescaling at once or through its queue, jumping back
        // home, or not answering for a while.
        const auto* pwp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if ((pwp->flags & SWP_NOMOVE) != 0 && (pwp->flags & SWP_NOSIZE) != 0) {
            return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
        }
        // Windows raises the event for every move itself; Wine 8 does not.
        if (RunsUnderWine()) {
            ::NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, hWnd, OBJID_WINDOW, CHILDID_SELF);
        }
        if (Prop(hWnd, kOwnMove) != 0) {
            return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
        }
        SetProp(hWnd, kMoves, Prop(hWnd, kMoves) + 1);
        if (const INT_PTR late = Prop(hWnd, kLateMs)) {
            ::SetTimer(hWnd, kRescaleTimer, static_cast<UINT>(late), nullptr);
        } else {
            Rescale(hWnd);
        }
        if (const INT_PTR jump = Prop(hWnd, kJumpMs)) {
            ::SetTimer(hWnd, kJumpTimer, static_cast<UINT>(jump), nullptr);
        }
        if (Prop(hWnd, kHangMs) != 0) {
            ::PostMessageW(hWnd, WM_APP_HANG, 0, 0);  // once the move is over
        }
        if (Prop(hWnd, kCloseAfterMove) != 0) {
            ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    case WM_WINDOWPOSCHANGING: {
        const auto* pwp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (((pwp->flags & SWP_NOMOVE) == 0 || (pwp->flags & SWP_NOSIZE) == 0) && Prop(hWnd, kOwnMove) == 0) {
            if ((pwp->flags & SWP_NOZORDER) == 0) ::SetPropW(hWnd, kInsertAfter, pwp->hwndInsertAfter);
            if (HANDLE h = ::RemovePropW(hWnd, kHangInsideMs)) ::Sleep(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(h)));
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) SetProp(hWnd, kActivations, Prop(hWnd, kActivations) + 1);
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    case WM_APP_HANG:
        ::Sleep(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(::RemovePropW(hWnd, kHangMs))));
        return 0;
    case WM_TIMER:
        ::KillTimer(hWnd, wParam);
        if (wParam == kRescaleTimer) {
            Rescale(hWnd);
        } else {
            SetProp(hWnd, kOwnMove, 1);
            ::SetWindowPos(hWnd, nullptr, static_cast<int>(Prop(hWnd, kHome[0])), static_cast<int>(Prop(hWnd, kHome[1])),
                           static_cast<int>(Prop(hWnd, kHome[2])), static_cast<int>(Prop(hWnd, kHome[3])),
                           SWP_NOZORDER | SWP_NOACTIVATE);
            ::RemovePropW(hWnd, kOwnMove);
        }
        return 0;
    case WM_GETMINMAXINFO: {
        auto* pmmi = reinterpret_cast<MINMAXINFO*>(lParam);
        if (HANDLE x = ::GetPropW(hWnd, kMinTrackX)) {
            pmmi->ptMinTrackSize.x = static_cast<LONG>(reinterpret_cast<INT_PTR>(x));
            pmmi->ptMinTrackSize.y = static_cast<LONG>(reinterpret_cast<INT_PTR>(::GetPropW(hWnd, kMinTrackY)));
            return 0;
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    default:
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
}

DWORD WINAPI CTargetThread::ThreadProc(void* pv) {
    auto* self = static_cast<CTargetThread*>(pv);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTargetClassNoIcon;
    ::RegisterClassExW(&wc);
    wc.hIconSm = static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32516), IMAGE_ICON, 16, 16, LR_SHARED));
    wc.lpszClassName = kTargetClass;
    ::RegisterClassExW(&wc);
    self->m_hWndControl = ::CreateWindowExW(0, kTargetClassNoIcon, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            ::GetModuleHandleW(nullptr), nullptr);
    ::SetEvent(self->m_hReady);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

CTargetThread::CTargetThread() {
    m_hReady = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_hThread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, &m_dwThreadId);
    ::WaitForSingleObject(m_hReady, 10000);
}

CTargetThread::~CTargetThread() {
    ::PostThreadMessageW(m_dwThreadId, WM_QUIT, 0, 0);
    ::WaitForSingleObject(m_hThread, 10000);
    ::CloseHandle(m_hThread);
    ::CloseHandle(m_hReady);
}

HWND CTargetThread::Create(const std::wstring& title, DWORD dwStyle, DWORD dwExStyle, const RECT& rc, bool bIcon,
                           HWND hWndOwner) {
    CreateRequest req = {&title, dwStyle, dwExStyle, rc, bIcon, hWndOwner};
    return reinterpret_cast<HWND>(
        ::SendMessageW(m_hWndControl, WM_APP_CREATE, 0, reinterpret_cast<LPARAM>(&req)));
}

HWND CTargetThread::CreateInactive(const std::wstring& title, DWORD dwStyle, const RECT& rc) {
    HWND hWnd = Create(title, dwStyle & ~WS_VISIBLE, 0, rc);
    Show(hWnd, SW_SHOWNA);
    return hWnd;
}

void CTargetThread::Destroy(HWND hWnd) {
    ::SendMessageW(m_hWndControl, WM_APP_DESTROY, 0, reinterpret_cast<LPARAM>(hWnd));
}

void CTargetThread::Show(HWND hWnd, int nCmdShow) {
    ::SendMessageW(m_hWndControl, WM_APP_SHOW, static_cast<WPARAM>(nCmdShow), reinterpret_cast<LPARAM>(hWnd));
}

void CTargetThread::RaiseLocationEvents(HWND hWnd, int nCount) {
    ::SendMessageW(m_hWndControl, WM_APP_EVENTS, static_cast<WPARAM>(nCount), reinterpret_cast<LPARAM>(hWnd));
}

void CTargetThread::SetMinTrackSize(HWND hWnd, int cx, int cy) {
    ::SetPropW(hWnd, kMinTrackX, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(cx)));
    ::SetPropW(hWnd, kMinTrackY, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(cy)));
}

void CTargetThread::HangAtIconQuery(HWND hWnd, DWORD dwMilliseconds) {
    ::SetPropW(hWnd, kHangAtIcon, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dwMilliseconds)));
}

void CTargetThread::RescaleAcrossScales(HWND hWnd, DWORD dwLateMs) {
    SetProp(hWnd, kScale, DoubleScalePercent(WindowRectOf(hWnd)));
    SetProp(hWnd, kLateMs, dwLateMs);
}

void CTargetThread::JumpBackAfterMoves(HWND hWnd, DWORD dwAfterMs) {
    const RECT rc = WindowRectOf(hWnd);
    const LONG home[4] = {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
    for (int i = 0; i < 4; ++i) SetProp(hWnd, kHome[i], home[i]);
    SetProp(hWnd, kJumpMs, dwAfterMs);
}

void CTargetThread::HangAfterMoves(HWND hWnd, DWORD dwMilliseconds) { SetProp(hWnd, kHangMs, dwMilliseconds); }

void CTargetThread::HangInsideMoves(HWND hWnd, DWORD dwMilliseconds) { SetProp(hWnd, kHangInsideMs, dwMilliseconds); }

bool CTargetThread::HangNow(HWND hWnd, DWORD dwMilliseconds) {
    SetProp(hWnd, kHangMs, dwMilliseconds);
    ::PostMessageW(hWnd, WM_APP_HANG, 0, 0);
    // A thread that is asleep answers nothing, not even what is sent to it.
    return WaitUntil([&] {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 50, &result) == 0;
    }, 2000);
}

void CTargetThread::CloseAfterMoves(HWND hWnd) { SetProp(hWnd, kCloseAfterMove, 1); }

int CTargetThread::Moves(HWND hWnd) { return static_cast<int>(Prop(hWnd, kMoves)); }

int CTargetThread::Activations(HWND hWnd) { return static_cast<int>(Prop(hWnd, kActivations)); }

HWND CTargetThread::LastInsertAfter(HWND hWnd) { return static_cast<HWND>(::GetPropW(hWnd, kInsertAfter)); }
