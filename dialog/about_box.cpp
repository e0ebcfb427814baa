#include "dialog/about_box.h"

#include "app/app_module.h"
#include "base/pod_array.h"
#include "dialog/about_text.h"
#include "win/system_library.h"

namespace {
// The text lies in the block itself: nothing is copied.
std::wstring_view QueryString(const void* pBlock, const Translation& t, const wchar_t* key) {
    const CWideString path = VersionQueryPath(t, key);
    void* pValue = nullptr;
    UINT cch = 0;
    if (!path.empty() && VerQueryValueFromSystem(pBlock, path.c_str(), &pValue, &cch) && pValue != nullptr &&
        cch > 0) {
        return std::wstring_view(static_cast<const wchar_t*>(pValue), cch - 1);
    }
    return std::wstring_view();
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
        return 0;
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
    CWideString text;
    if (!FormatAboutText(QueryString(block.data(), t, L"ProductName"),
                         QueryString(block.data(), t, L"ProductVersion"),
                         QueryString(block.data(), t, L"LegalCopyright"), &text)) {
        return 0;
    }

    ::MessageBeep(MB_ICONASTERISK);
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
