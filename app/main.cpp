// Entry point: prepares the thread, picks the action from the command line,
// reports a failure once and returns it as the exit code.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <clocale>
#include <cstdlib>

#include "app/app_module.h"
#include "app/command_line.h"
#include "app/hand_over.h"
#include "base/hresult.h"
#include "app/run_as.h"
#include "dialog/dialog.h"
#include "win/system_library.h"
#include "res/resource.h"

namespace {

// A hand-over in the command line is taken once the dialog shows.
HRESULT RunDialog(const wchar_t* pszTail) {
    CMessageLoop theLoop;
    if (!s_module.AddMessageLoop(&theLoop)) {
        return HResultFromLastError();
    }
    HRESULT hr = S_OK;
    {
        CDialog dlg;
        dlg.m_bHandOver = ParseHandOver(pszTail, &dlg.m_handOver);
        // A start-up that failed destroyed the dialog, and the system may still
        // have handed back its handle.
        const HWND hWnd = dlg.Create(s_module.GetResourceInstance());
        if (FAILED(dlg.m_hrInit)) {
            hr = dlg.m_hrInit;
        } else if (hWnd == nullptr) {
            hr = HResultFromLastError();
        } else {
            hr = theLoop.Run();
        }
        s_module.RemoveMessageLoop();
    }
    return hr;
}

// Formats into buffers of its own: the failure may be that memory ran out.
void ReportFailure(HRESULT hr) {
    wchar_t szText[1024];
    const DWORD cch = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                       static_cast<DWORD>(hr), 0, szText, ARRAYSIZE(szText), nullptr);
    if (cch != 0) {
        szText[TrimTrailingLineBreaks(std::wstring_view(szText, cch)).size()] = L'\0';
    } else {
        wchar_t szUnknown[kUnknownHResultChars];
        FormatUnknownHResult(hr, szUnknown);
        ::lstrcpynW(szText, szUnknown, ARRAYSIZE(szText));
    }
    wchar_t szCaption[128] = {};
    ::LoadStringW(s_module.GetResourceInstance(), IDS_TITLE, szCaption, ARRAYSIZE(szCaption));
    ::MessageBoxW(nullptr, szText, szCaption, MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int) {
    RestrictLibrarySearchToSystemFolder();
    std::setlocale(LC_ALL, "");
    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX iccx = {sizeof(iccx), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&iccx);
    s_module.Init(hInstance);

    HRESULT hr = S_OK;
    switch (ChooseStartAction(__argc, lpCmdLine, ::lstrcmpiW)) {
    case StartAction::RunAs:
        hr = RunAsAdministrator();
        break;
    case StartAction::RegServer:
        hr = s_module.ApplyRegistrationScript(IDR_REGISTRY, TRUE);
        break;
    case StartAction::UnregServer:
        hr = s_module.ApplyRegistrationScript(IDR_REGISTRY, FALSE);
        break;
    case StartAction::ShowDialog:
        hr = RunDialog(lpCmdLine);
        break;
    }

    if (FAILED(hr)) {
        ReportFailure(hr);
    }
    s_module.Term();
    ::CoUninitialize();
    return hr;
}
