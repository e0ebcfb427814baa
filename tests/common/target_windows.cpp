#include "target_windows.h"

#include "tests/dwm_double/frame_rule.h"

namespace {
const wchar_t kTargetClass[] = L"KelpoTestTarget";
const wchar_t kTargetClassNoIcon[] = L"KelpoTestTargetNoIcon";
constexpr UINT WM_APP_CREATE = WM_APP + 1;
constexpr UINT WM_APP_DESTROY = WM_APP + 2;
constexpr UINT WM_APP_SHOW = WM_APP + 4;
const wchar_t kMinTrackX[] = L"Kelpo.MinTrackX";
const wchar_t kMinTrackY[] = L"Kelpo.MinTrackY";
const wchar_t kHangAtIcon[] = L"Kelpo.HangAtIcon";
const wchar_t kScale[] = L"Kelpo.Scale";  // the scale the window last saw, when it rescales
const wchar_t kRescaling[] = L"Kelpo.Rescaling";
const wchar_t kMoves[] = L"Kelpo.Moves";

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
    case WM_APP_SHOW:
        return ::ShowWindow(reinterpret_cast<HWND>(lParam), static_cast<int>(wParam));
    case WM_WINDOWPOSCHANGED: {
        // Counts the moves it is given, and when its centre reaches a display
        // of another scale, resizes itself by the ratio of the two, keeping its
        // top-left corner, as a per-monitor aware program does on WM_DPICHANGED.
        const auto* pwp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (((pwp->flags & SWP_NOMOVE) != 0 && (pwp->flags & SWP_NOSIZE) != 0) || Prop(hWnd, kRescaling) != 0) {
            return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
        }
        SetProp(hWnd, kMoves, Prop(hWnd, kMoves) + 1);
        const RECT rc = WindowRectOf(hWnd);
        const INT_PTR was = Prop(hWnd, kScale);
        const int now = DoubleScalePercent(rc);
        if (was != 0 && was != now) {
            SetProp(hWnd, kScale, now);
            SetProp(hWnd, kRescaling, 1);
            ::SetWindowPos(hWnd, nullptr, 0, 0, ::MulDiv(rc.right - rc.left, now, static_cast<int>(was)),
                           ::MulDiv(rc.bottom - rc.top, now, static_cast<int>(was)),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::RemovePropW(hWnd, kRescaling);
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
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

void CTargetThread::Destroy(HWND hWnd) {
    ::SendMessageW(m_hWndControl, WM_APP_DESTROY, 0, reinterpret_cast<LPARAM>(hWnd));
}

void CTargetThread::Show(HWND hWnd, int nCmdShow) {
    ::SendMessageW(m_hWndControl, WM_APP_SHOW, static_cast<WPARAM>(nCmdShow), reinterpret_cast<LPARAM>(hWnd));
}

void CTargetThread::SetMinTrackSize(HWND hWnd, int cx, int cy) {
    ::SetPropW(hWnd, kMinTrackX, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(cx)));
    ::SetPropW(hWnd, kMinTrackY, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(cy)));
}

void CTargetThread::HangAtIconQuery(HWND hWnd, DWORD dwMilliseconds) {
    ::SetPropW(hWnd, kHangAtIcon, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dwMilliseconds)));
}

void CTargetThread::RescaleAcrossScales(HWND hWnd) {
    SetProp(hWnd, kScale, DoubleScalePercent(WindowRectOf(hWnd)));
}

int CTargetThread::Moves(HWND hWnd) { return static_cast<int>(Prop(hWnd, kMoves)); }
