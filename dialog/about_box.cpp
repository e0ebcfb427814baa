#include "dialog/about_box.h"

#include "app/app_module.h"
#include "base/pod_array.h"
#include "dialog/about_text.h"
#include "win/alert.h"
#include "win/system_library.h"

namespace {
// The text lies in the block itself: nothing is copied. False only when the
// key's path could not be made; a key the resource lacks is an empty text.
bool QueryString(const void* pBlock, const Translation& t, const wchar_t* key, std::wstring_view* pText) {
    const CWideString path = VersionQueryPath(t, key);
    void* pValue = nullptr;
    UINT cch = 0;
    *pText = std::wstring_view();
    if (path.empty()) {
        return false;
    }
    if (VerQueryValueFromSystem(pBlock, path.c_str(), &pValue, &cch) && pValue != nullptr && cch > 0) {
        *pText = std::wstring_view(static_cast<const wchar_t*>(pValue), cch - 1);
    }
    return true;
}

// The box's only voice when its text cannot be had whole: no half a text.
int Incomplete() {
    Alert(MB_ICONHAND);
    return 0;
}
}  // namespace

int ShowAboutBox(HWND hWndOwner, const wchar_t* pszFile, UINT nCaptionId, UINT nIconId) {
    if (pszFile == nullptr) {
        return 0;
    }
    DWORD dwHandle = 0;
    const DWORD cb = GetFileVersionInfoSizeFromSystem(pszFile, &dwHandle);
    if (cb == 0) {
        return 0;
    }
    CPodArray<unsigned char> block;
    if (!block.Reserve(cb)) {
        return Incomplete();
    }
    if (!GetFileVersionInfoFromSystem(pszFile, dwHandle, cb, block.data())) {
        return 0;
    }
    void* pPairs = nullptr;
    UINT cbPairs = 0;
    if (!VerQueryValueFromSystem(block.data(), L"\\VarFileInfo\\Translation", &pPairs, &cbPairs)) {
        pPairs = nullptr;
        cbPairs = 0;
    }
    const Translation t = ChooseTranslation(static_cast<const Translation*>(pPairs), cbPairs / sizeof(Translation),
                                            ::GetUserDefaultLangID());
    std::wstring_view name;
    std::wstring_view version;
    std::wstring_view copyright;
    CWideString text;
    if (!QueryString(block.data(), t, L"ProductName", &name) ||
        !QueryString(block.data(), t, L"ProductVersion", &version) ||
        !QueryString(block.data(), t, L"LegalCopyright", &copyright) ||
        !FormatAboutText(name, version, copyright, &text)) {
        return Incomplete();
    }

    Alert(MB_ICONASTERISK);
    MSGBOXPARAMSW mbp = {};
    mbp.cbSize = sizeof(mbp);
    mbp.hwndOwner = hWndOwner;
    mbp.hInstance = s_module.GetResourceInstance();
    mbp.lpszText = text.c_str();
    mbp.lpszCaption = MAKEINTRESOURCEW(nCaptionId);
    mbp.dwStyle = MB_OK | (nIconId != 0 ? MB_USERICON : 0);
    mbp.lpszIcon = MAKEINTRESOURCEW(nIconId);
    return ::MessageBoxIndirectW(&mbp);
}
