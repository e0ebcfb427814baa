// The two system libraries that are not among the system's known DLLs,
// loaded at first use from the system folder only. A portable tool lives in
// Downloads or on a stick, and whatever can write there could otherwise put a
// dwmapi.dll or version.dll beside it and run inside it, elevated too when the
// program relaunches itself as administrator.
#pragma once
#include <windows.h>

// A function of a system DLL the process has loaded already, looked up rather
// than imported so that a system without it still starts; null where missing.
template <class F>
F LoadedSystemFunction(const wchar_t* pszModule, const char* pszName) {
    HMODULE hModule = ::GetModuleHandleW(pszModule);
    return hModule != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(hModule, pszName)))
                              : nullptr;
}

// Limits every later load by name in the process, the system's own DLLs'
// included, to the system folder. Called first thing at start-up.
void RestrictLibrarySearchToSystemFolder();

// The window manager's answer, or E_NOTIMPL when its library cannot be had:
// callers then fall back as they do for any failed query.
HRESULT DwmGetWindowAttributeFromSystem(HWND hWnd, DWORD dwAttribute, void* pvAttribute, DWORD cbAttribute);

// The version functions; each fails (0 or FALSE) when its library cannot be had.
DWORD GetFileVersionInfoSizeFromSystem(const wchar_t* pszFile, DWORD* pdwHandle);
BOOL GetFileVersionInfoFromSystem(const wchar_t* pszFile, DWORD dwHandle, DWORD cb, void* pv);
BOOL VerQueryValueFromSystem(const void* pBlock, const wchar_t* pszSubBlock, void** ppv, UINT* pcb);
