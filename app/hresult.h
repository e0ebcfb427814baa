// HRESULT arithmetic shared by the shell and the registrar; free of platform calls.
#pragma once
#include <cstdint>
#include <string>

// A Win32 error code as an HRESULT: codes that are zero or negative pass unchanged.
constexpr int32_t HResultFromWin32(int32_t error) {
    return error <= 0 ? error : static_cast<int32_t>((static_cast<uint32_t>(error) & 0xFFFFu) | 0x80070000u);
}

// The system's message text ends with CR LF; the message box wants it without.
inline std::wstring TrimTrailingLineBreaks(std::wstring text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) {
        text.pop_back();
    }
    return text;
}

// What the error box says when the system has no text for the HRESULT.
std::wstring FormatUnknownHResult(int32_t hr);
