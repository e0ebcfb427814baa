#include "geometry/field_text.h"

namespace {
bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }
}  // namespace

// A Japanese input method in full-width mode types these for a number.
wchar_t FoldFieldChar(wchar_t ch) {
    if (ch >= 0xFF10 && ch <= 0xFF19) {  // full-width digits
        return static_cast<wchar_t>(L'0' + (ch - 0xFF10));
    }
    switch (ch) {
    case 0x3000:  // ideographic space
        return L' ';
    case 0xFF0D:  // full-width hyphen-minus
    case 0x2212:  // minus sign
        return L'-';
    default:
        return ch;
    }
}

FieldValue ParseFieldText(const wchar_t* pszText) {
    if (pszText == nullptr) {
        return FieldValue{};
    }
    wchar_t szFolded[kFieldTextChars];
    int i = 0;
    for (; i < kFieldTextChars - 1 && pszText[i] != L'\0'; ++i) {
        szFolded[i] = FoldFieldChar(pszText[i]);
    }
    if (pszText[i] != L'\0') {
        return FieldValue{};  // longer than a field holds
    }
    szFolded[i] = L'\0';
    const wchar_t* psz = szFolded;
    while (IsBlank(*psz)) {
        ++psz;
    }
    const bool bNegative = *psz == L'-';
    if (bNegative) {
        ++psz;
    }
    if (*psz < L'0' || *psz > L'9') {
        return FieldValue{};
    }
    int64_t magnitude = 0;
    while (*psz >= L'0' && *psz <= L'9') {
        // Anything this large is out of range already; stop growing before it can overflow.
        if (magnitude <= kFieldMax + 1) {
            magnitude = magnitude * 10 + (*psz - L'0');
        }
        ++psz;
    }
    while (IsBlank(*psz)) {
        ++psz;
    }
    if (*psz != L'\0') {
        return FieldValue{};
    }
    const int64_t value = bNegative ? -magnitude : magnitude;
    if (value < kFieldMin || value > kFieldMax) {
        return FieldValue{};
    }
    return FieldValue{true, static_cast<int32_t>(value)};
}
