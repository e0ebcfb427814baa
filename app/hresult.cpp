#include "hresult.h"

#include "geometry/number_text.h"

std::wstring FormatUnknownHResult(int32_t hr) {
    return L"HRESULT 0x" + HexText(static_cast<uint32_t>(hr), 8);
}
