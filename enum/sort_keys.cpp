#include "enum/sort_keys.h"

#include "geometry/number_text.h"

std::wstring_view MakeTextKey(const wchar_t* pszCell) {
    if (pszCell == nullptr) {
        return std::wstring_view();
    }
    const std::wstring_view key(pszCell);
    return std::wstring_view(pszCell, key.size() < kSortKeyChars ? key.size() : kSortKeyChars);
}

CWideString FormatMonitorLabel(int nNumber, const wchar_t* pszDeviceString) {
    CWideString label;
    if (!label.Append(DecimalText(nNumber).View()) || !label.Append(L". ") ||
        !label.Append(pszDeviceString != nullptr ? pszDeviceString : L"")) {
        label.Truncate(0);
    }
    return label;
}
