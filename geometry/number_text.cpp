#include "geometry/number_text.h"

std::wstring DecimalText(int64_t value) {
    wchar_t buffer[24];
    wchar_t* p = buffer + 24;
    // Work in unsigned so the most negative value has a magnitude too.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        *--p = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        *--p = L'-';
    }
    return std::wstring(p, buffer + 24);
}

std::wstring HexText(uint32_t value, int minDigits) {
    std::wstring text;
    do {
        text.insert(text.begin(), L"0123456789abcdef"[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(text.size()) < minDigits) {
        text.insert(0, static_cast<size_t>(minDigits) - text.size(), L'0');
    }
    return text;
}
