#include "hresult.h"

#include "base/wide_string.h"
#include "base/number_text.h"

void FormatUnknownHResult(int32_t hr, wchar_t (&text)[kUnknownHResultChars]) {
    constexpr std::wstring_view kPrefix = L"HRESULT 0x";
    const CNumberText digits = HexText(static_cast<uint32_t>(hr), 8);
    CopyTerminated(digits.View(), text + CopyTerminated(kPrefix, text, kPrefix.size()), digits.View().size());
}
