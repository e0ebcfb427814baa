#include "enum/sort_keys.h"

std::wstring_view MakeTextKey(const wchar_t* pszCell) {
    if (pszCell == nullptr) {
        return std::wstring_view();
    }
    const std::wstring_view key(pszCell);
    return std::wstring_view(pszCell, key.size() < kSortKeyChars ? key.size() : kSortKeyChars);
}

