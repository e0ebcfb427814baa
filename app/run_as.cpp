#include "app/run_as.h"

#include <shellapi.h>

#include "app/app_module.h"
#include "base/hresult.h"

HRESULT RunAsAdministrator() {
    // The running file itself: argv[0] as typed is resolved by the shell
    // against the current folder, where another file of that name may lie.
    wchar_t szPath[MAX_PATH];
    const HRESULT hr = GetModulePath(nullptr, szPath, MAX_PATH);
    if (FAILED(hr)) {
        return hr;
    }
    SHELLEXECUTEINFOW sei = {};
    sei.cbSize = sizeof(sei);
    sei.lpVerb = L"runas";
    sei.lpFile = szPath;
    sei.nShow = SW_SHOWNORMAL;
    if (::ShellExecuteExW(&sei)) {
        return S_OK;
    }
    DWORD dwError = ::GetLastError();
    if (dwError == ERROR_CANCELLED) {
        return S_FALSE;
    }
    return HResultFromFailedShellExecute(dwError, reinterpret_cast<INT_PTR>(sei.hInstApp));
}
