#include "base/number_text.h"

CNumberText DecimalText(int64_t value) {
    CNumberText text;
    // Work in unsigned so the most negative value has a magnitude too.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        text.Prepend(static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        text.Prepend(L'-');
    }
    return text;
}

CNumberText HexText(uint32_t value, int minDigits) {
    CNumberText text;
    int digits = 0;
    do {
        text.Prepend(L"0123456789abcdef"[value & 0xF]);
        value >>= 4;
        ++digits;
    } while (value != 0);
    for (; digits < minDigits && digits < 16; ++digits) {
        text.Prepend(L'0');
    }
    return text;
}
