#include "geometry/field_text.h"

namespace {
bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }
}  // namespace

FieldValue ParseFieldText(const wchar_t* psz) {
    if (psz == nullptr) {
        return FieldValue{};
    }
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
