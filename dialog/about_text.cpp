#include "dialog/about_text.h"

#include "geometry/number_text.h"

Translation ChooseTranslation(const Translation* pairs, size_t count, uint16_t userLanguage) {
    if (pairs == nullptr || count == 0) {
        return Translation{0x0409, 0x04B0};
    }
    if (count >= 2 && pairs[1].wLanguage == userLanguage) {
        return pairs[1];
    }
    return pairs[0];
}

std::wstring VersionQueryPath(const Translation& t, const wchar_t* key) {
    return L"\\StringFileInfo\\" + HexText(t.wLanguage, 4) + HexText(t.wCodePage, 4) + L"\\" + key;
}

std::wstring FormatAboutText(const std::wstring& name, const std::wstring& version, const std::wstring& copyright) {
    std::wstring text = name;
    if (!name.empty() && !version.empty()) {
        text += L' ';
    }
    text += version;
    if (!text.empty() && !copyright.empty()) {
        text += L'\n';
    }
    return text + copyright;
}
