#include "enum/sort_keys.h"

#include "geometry/number_text.h"

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
    std::wstring label = DecimalText(nNumber);
    label += L". ";
    if (pszDeviceString != nullptr) {
        label += pszDeviceString;
    }
    return label;
}
