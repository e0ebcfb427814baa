// A dwmapi.dll planted beside the program, as a download or an unpacked
// archive could put it there. It leaves "<its own path>.loaded" as its mark
// when a process loads it, and exports what the program looks up, answering
// as if the window manager were not there, so a load goes on quietly.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, void*) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        wchar_t szMark[MAX_PATH + 8] = {};
        const DWORD cch = ::GetModuleFileNameW(hInstance, szMark, MAX_PATH);
        if (cch != 0 && cch < MAX_PATH) {
            ::lstrcatW(szMark, L".loaded");
            ::CloseHandle(::CreateFileW(szMark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DwmGetWindowAttribute(HWND, DWORD, PVOID, DWORD) { return E_NOTIMPL; }
