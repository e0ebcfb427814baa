// HRESULT arithmetic shared by the shell and the registrar; free of platform calls.
#pragma once
#include <cstdint>
#include <string>

// A Win32 error code as an HRESULT: codes that are zero or negative pass unchanged.
constexpr int32_t HResultFromWin32(int32_t error) {
    return error <= 0 ? error : static_cast<int32_t>((static_cast<uint32_t>(error) & 0xFFFFu) | 0x80070000u);
}

// A failed ShellExecuteEx must never read as success: when the shell left no
// last error, its SE_ERR_ code in hInstApp (the low ones equal Win32 codes) is
// used, and E_FAIL when there is none.
constexpr int32_t HResultFromFailedShellExecute(uint32_t lastError, intptr_t instApp) {
    if (lastError != 0) {
        return HResultFromWin32(static_cast<int32_t>(lastError));
    }
    if (instApp > 0 && instApp <= 32) {
        return HResultFromWin32(static_cast<int32_t>(instApp));
    }
    return static_cast<int32_t>(0x80004005u);
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
