// Sort keys and ordering rules of the window list; free of platform calls.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/wide_string.h"

enum SortKind : uint16_t { kSortNone = 0, kSortText = 1, kSortInteger = 3 };

// Only what a 32-character cell buffer holds counts: the first 31 characters.
constexpr size_t kSortKeyChars = 31;

std::wstring_view MakeTextKey(const wchar_t* pszCell);

// An empty cell and one the parser rejects both count as 0. parse returns false on failure.
template <class Parse>
int32_t MakeIntegerKey(const wchar_t* pszCell, Parse parse) {
    if (pszCell == nullptr || pszCell[0] == L'\0') {
        return 0;
    }
    wchar_t szKey[kSortKeyChars + 1];
    CopyTerminated(MakeTextKey(pszCell), szKey, kSortKeyChars);
    int32_t value = 0;
    return parse(szKey, &value) ? value : 0;
}

constexpr int CompareIntegerKeys(int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

constexpr int ApplySortDirection(int nCompare, bool bDescending) { return bDescending ? -nCompare : nCompare; }

// A header click sorts descending only when it repeats the ascending sort column.
constexpr bool DescendingAfterHeaderClick(int nClicked, int nSortColumn, bool bDescending) {
    return nClicked == nSortColumn && !bDescending;
}

