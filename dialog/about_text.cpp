#include "dialog/about_text.h"

#include "base/number_text.h"

Translation ChooseTranslation(const Translation* pairs, size_t count, uint16_t userLanguage) {
    if (pairs == nullptr || count == 0) {
        return Translation{0x0409, 0x04B0};
    }
    if (count >= 2 && pairs[1].wLanguage == userLanguage) {
        return pairs[1];
    }
    return pairs[0];
}

CWideString VersionQueryPath(const Translation& t, const wchar_t* key) {
    CWideString path;
    if (!path.Append(L"\\StringFileInfo\\") || !path.Append(HexText(t.wLanguage, 4).View()) ||
        !path.Append(HexText(t.wCodePage, 4).View()) || !path.Append(L'\\') || !path.Append(key)) {
        path.Truncate(0);
    }
    return path;
}

bool FormatAboutText(std::wstring_view name, std::wstring_view version, std::wstring_view copyright,
                     CWideString* pText) {
    pText->Truncate(0);
    if (!pText->Append(name) || (!name.empty() && !version.empty() && !pText->Append(L' ')) ||
        !pText->Append(version)) {
        return false;
    }
    return (pText->empty() || copyright.empty() || pText->Append(L'\n')) && pText->Append(copyright);
}
