// What the About box says; free of platform calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct Translation {
    uint16_t wLanguage;
    uint16_t wCodePage;
};

// The second table when it is in the user's default language, else the first.
// Without any table, US English Unicode, the table such resources usually carry.
Translation ChooseTranslation(const Translation* pairs, size_t count, uint16_t userLanguage);

// "\StringFileInfo\040904b0\ProductName" and the like.
std::wstring VersionQueryPath(const Translation& t, const wchar_t* key);

// "Name Version\nCopyright". A missing part is left out with its separator,
// so a version resource without some keys still gives a clean text.
std::wstring FormatAboutText(const std::wstring& name, const std::wstring& version, const std::wstring& copyright);
