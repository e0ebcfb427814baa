#include "app/run_as.h"

#include <shellapi.h>

#include <cstdlib>

#include "app/hresult.h"

HRESULT RunAsAdministrator() {
    SHELLEXECUTEINFOW sei = {};
    sei.cbSize = sizeof(sei);
    sei.lpVerb = L"runas";
    // argv[0] as typed, so the new instance is the same program the user started.
    sei.lpFile = __wargv != nullptr ? __wargv[0] : nullptr;
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
