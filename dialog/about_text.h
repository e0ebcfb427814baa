// What the About box says; free of platform calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/wide_string.h"

struct Translation {
    uint16_t wLanguage;
    uint16_t wCodePage;
};

// The second table when it is in the user's default language, else the first.
// Without any table, US English Unicode, the table such resources usually carry.
Translation ChooseTranslation(const Translation* pairs, size_t count, uint16_t userLanguage);

// "\StringFileInfo\040904b0\ProductName" and the like; empty when the memory
// for it cannot be had.
CWideString VersionQueryPath(const Translation& t, const wchar_t* key);

// "Name Version\nCopyright". A missing part is left out with its separator,
// so a version resource without some keys still gives a clean text. False
// when the memory for it cannot be had.
bool FormatAboutText(std::wstring_view name, std::wstring_view version, std::wstring_view copyright,
                     CWideString* pText);
