#include "win/system_library.h"

namespace {

HMODULE LoadFromSystemFolder(const wchar_t* pszName) {
    HMODULE hModule = ::LoadLibraryExW(pszName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (hModule == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) {
        // A Windows 7 without the update that brought the search flags: name
        // the file in the system folder by its full path instead.
        wchar_t szPath[MAX_PATH];
        const UINT cch = ::GetSystemDirectoryW(szPath, MAX_PATH);
        if (cch != 0 && cch < MAX_PATH - 16 && ::lstrcatW(szPath, L"\\") != nullptr &&
            ::lstrcatW(szPath, pszName) != nullptr) {
            hModule = ::LoadLibraryExW(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        }
    }
    return hModule;
}

// Resolves the functions of one library once; the library stays loaded for
// the life of the process, as a static import would.
template <int N>
class CSystemFunctions {
public:
    constexpr CSystemFunctions(const wchar_t* pszLibrary, const char* const (&names)[N]) : m_pszLibrary(pszLibrary), m_names(names) {}

    template <class F>
    F Get(int i) {
        if (!m_bResolved) {
            m_bResolved = true;
            if (HMODULE hModule = LoadFromSystemFolder(m_pszLibrary)) {
                for (int j = 0; j < N; ++j) {
                    m_procs[j] = ::GetProcAddress(hModule, m_names[j]);
                }
            }
        }
        return reinterpret_cast<F>(reinterpret_cast<void*>(m_procs[i]));
    }

private:
    const wchar_t* m_pszLibrary;
    const char* const (&m_names)[N];
    FARPROC m_procs[N] = {};
    bool m_bResolved = false;
};

const char* const s_dwmNames[] = {"DwmGetWindowAttribute"};
CSystemFunctions<1> s_dwm(L"dwmapi.dll", s_dwmNames);

const char* const s_versionNames[] = {"GetFileVersionInfoSizeW", "GetFileVersionInfoW", "VerQueryValueW"};
CSystemFunctions<3> s_version(L"version.dll", s_versionNames);

}  // namespace

void RestrictLibrarySearchToSystemFolder() {
    // A Windows 7 without the update that brought it has none.
    using SetDirs = BOOL(WINAPI*)(DWORD);
    if (const auto pfn = LoadedSystemFunction<SetDirs>(L"kernel32.dll", "SetDefaultDllDirectories")) {
        pfn(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

HRESULT DwmGetWindowAttributeFromSystem(HWND hWnd, DWORD dwAttribute, void* pvAttribute, DWORD cbAttribute) {
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    const Fn pfn = s_dwm.Get<Fn>(0);
    return pfn != nullptr ? pfn(hWnd, dwAttribute, pvAttribute, cbAttribute) : E_NOTIMPL;
}

DWORD GetFileVersionInfoSizeFromSystem(const wchar_t* pszFile, DWORD* pdwHandle) {
    using Fn = DWORD(WINAPI*)(const wchar_t*, DWORD*);
    const Fn pfn = s_version.Get<Fn>(0);
    return pfn != nullptr ? pfn(pszFile, pdwHandle) : 0;
}

BOOL GetFileVersionInfoFromSystem(const wchar_t* pszFile, DWORD dwHandle, DWORD cb, void* pv) {
    using Fn = BOOL(WINAPI*)(const wchar_t*, DWORD, DWORD, void*);
    const Fn pfn = s_version.Get<Fn>(1);
    return pfn != nullptr ? pfn(pszFile, dwHandle, cb, pv) : FALSE;
}

BOOL VerQueryValueFromSystem(const void* pBlock, const wchar_t* pszSubBlock, void** ppv, UINT* pcb) {
    using Fn = BOOL(WINAPI*)(const void*, const wchar_t*, void**, UINT*);
    const Fn pfn = s_version.Get<Fn>(2);
    return pfn != nullptr ? pfn(pBlock, pszSubBlock, ppv, pcb) : FALSE;
}
