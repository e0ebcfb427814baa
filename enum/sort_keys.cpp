#include "enum/sort_keys.h"

#include <cwchar>

std::wstring MakeTextKey(const wchar_t* pszCell) {
    if (pszCell == nullptr) {
        return std::wstring();
    }
    std::wstring key(pszCell);
    if (key.size() > kSortKeyChars) {
        key.resize(kSortKeyChars);
    }
    return key;
}

std::wstring FormatMonitorLabel(int nNumber, const wchar_t* pszDeviceString) {
    std::wstring label = std::to_wstring(nNumber);
    label += L". ";
    if (pszDeviceString != nullptr) {
        label += pszDeviceString;
    }
    return label;
}
