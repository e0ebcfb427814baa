// Adds the program to, or removes it from, the current user's desktop context
// menu by running the registration script in its resources.
#include "app/app_module.h"
#include "base/hresult.h"
#include "app/registration_script.h"
#include "app/win32_registry.h"

namespace {

class CResourceFile {
public:
    explicit CResourceFile(const wchar_t* pszPath) {
        m_hModule = ::LoadLibraryExW(pszPath, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE);
        if (m_hModule == nullptr) {
            m_hModule = ::LoadLibraryExW(pszPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        }
    }
    ~CResourceFile() {
        if (m_hModule != nullptr) {
            ::FreeLibrary(m_hModule);
        }
    }
    CResourceFile(const CResourceFile&) = delete;
    CResourceFile& operator=(const CResourceFile&) = delete;
    HMODULE Get() const { return m_hModule; }

private:
    HMODULE m_hModule = nullptr;
};

// The script resource as UTF-16, converted with the thread's ANSI code page.
HRESULT LoadScript(const wchar_t* pszPath, UINT nResId, CPodArray<wchar_t>* pScript) {
    CResourceFile file(pszPath);
    if (file.Get() == nullptr) {
        return HResultFromLastError();
    }
    HRSRC hRes = ::FindResourceW(file.Get(), MAKEINTRESOURCEW(nResId), L"REGISTRY");
    HGLOBAL hData = hRes != nullptr ? ::LoadResource(file.Get(), hRes) : nullptr;
    const char* pBytes = hData != nullptr ? static_cast<const char*>(::LockResource(hData)) : nullptr;
    if (pBytes == nullptr) {
        return HResultFromLastError();
    }
    const int cb = static_cast<int>(::SizeofResource(file.Get(), hRes));
    pScript->Clear();
    if (cb == 0) {
        return S_OK;
    }
    if (!pScript->Resize(static_cast<size_t>(cb))) {
        return E_OUTOFMEMORY;
    }
    const int cch = ::MultiByteToWideChar(CP_THREAD_ACP, 0, pBytes, cb, pScript->data(), cb);
    if (cch == 0) {
        return HResultFromLastError();
    }
    pScript->Resize(static_cast<size_t>(cch));
    return S_OK;
}

}  // namespace

HRESULT CAppModule::ApplyRegistrationScript(UINT nResId, BOOL bRegister) {
    wchar_t szPath[MAX_PATH] = {};
    HRESULT hr = GetModulePath(nullptr, szPath, MAX_PATH);
    if (FAILED(hr)) {
        return hr;
    }
    CPodArray<wchar_t> script;
    hr = LoadScript(szPath, nResId, &script);
    if (FAILED(hr)) {
        return hr;
    }
    CModuleReplacements replacements;
    if (!replacements.Make(szPath)) {
        return E_OUTOFMEMORY;
    }
    CPodArray<wchar_t> expanded;
    hr = ExpandReplacements(TextView(script), replacements.Table(), CModuleReplacements::kCount, &expanded);
    if (FAILED(hr)) {
        return hr;
    }
    CWin32Registry registry;
    return RunRegistrationScript(TextView(expanded), bRegister != FALSE, registry);
}
