#include "app/run_as.h"

#include <shellapi.h>

#include "app/app_module.h"
#include "base/hresult.h"
#include "win/rights.h"

HRESULT RunAsAdministrator(const wchar_t* pszParameters, HWND hWndOwner) {
    // The running file itself: argv[0] as typed is resolved by the shell
    // against the current folder, where another file of that name may lie.
    wchar_t szPath[MAX_PATH];
    const HRESULT hr = GetModulePath(nullptr, szPath, MAX_PATH);
    if (FAILED(hr)) {
        return hr;
    }
    SHELLEXECUTEINFOW sei = {};
    sei.cbSize = sizeof(sei);
    sei.hwnd = hWndOwner;
    sei.lpVerb = L"runas";
    sei.lpFile = szPath;
    sei.lpParameters = pszParameters;
    sei.nShow = SW_SHOWNORMAL;
    if (ShellExecuteElevated(&sei)) {
        return S_OK;
    }
    DWORD dwError = ::GetLastError();
    if (dwError == ERROR_CANCELLED) {
        return S_FALSE;
    }
    return HResultFromFailedShellExecute(dwError, reinterpret_cast<INT_PTR>(sei.hInstApp));
}
