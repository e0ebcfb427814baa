#include "app/hand_over.h"

#include "base/number_text.h"

namespace {

// Digits only, the sign where the range has negatives; the end of the number, or null.
const wchar_t* ParseNumber(const wchar_t* p, int64_t nMin, int64_t nMax, int64_t* pValue) {
    const bool bNegative = nMin < 0 && *p == L'-';
    if (bNegative) {
        ++p;
    }
    int64_t value = 0;
    const wchar_t* const pFirst = p;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        value = value * 10 + (*p - L'0');
        if (value > nMax + (bNegative ? 1 : 0)) {
            return nullptr;
        }
    }
    if (p == pFirst) {
        return nullptr;
    }
    *pValue = bNegative ? -value : value;
    return *pValue < nMin || *pValue > nMax ? nullptr : p;
}

wchar_t* Append(wchar_t* p, const wchar_t* psz) {
    while (*psz != L'\0') {
        *p++ = *psz++;
    }
    return p;
}

}  // namespace

bool ParseHandOver(const wchar_t* pszTail, HandOver* pHandOver) {
    if (pszTail == nullptr) {
        return false;
    }
    const wchar_t* p = pszTail;
    for (const wchar_t* pszSwitch = kHandOverSwitch; *pszSwitch != L'\0'; ++pszSwitch, ++p) {
        if (*p != *pszSwitch) {
            return false;
        }
    }
    int64_t numbers[6] = {};
    for (int i = 0; i < 6; ++i) {
        if (i > 0 && *p++ != L',') {
            return false;
        }
        p = i < 2 ? ParseNumber(p, 0, 0xFFFFFFFF, &numbers[i]) : ParseNumber(p, -32768, 32767, &numbers[i]);
        if (p == nullptr) {
            return false;
        }
    }
    if (*p != L'\0') {
        return false;
    }
    pHandOver->nWindow = static_cast<uint32_t>(numbers[0]);
    pHandOver->nProcess = static_cast<uint32_t>(numbers[1]);
    for (int i = 0; i < 4; ++i) {
        pHandOver->values[i] = static_cast<int32_t>(numbers[i + 2]);
    }
    return true;
}

void FormatHandOver(const HandOver& handOver, wchar_t* psz) {
    wchar_t* p = Append(psz, kHandOverSwitch);
    p = Append(p, DecimalText(handOver.nWindow).c_str());
    *p++ = L',';
    p = Append(p, DecimalText(handOver.nProcess).c_str());
    for (int32_t value : handOver.values) {
        *p++ = L',';
        p = Append(p, DecimalText(value).c_str());
    }
    *p = L'\0';
}
