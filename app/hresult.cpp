#include "hresult.h"

#include <cwchar>

std::wstring FormatUnknownHResult(int32_t hr) {
    wchar_t text[32];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"HRESULT 0x%8.8x", static_cast<unsigned>(hr));
    return text;
}
