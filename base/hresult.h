// HRESULT arithmetic shared by the shell and the registrar; free of platform calls.
#pragma once
#include <cstdint>
#include <string_view>

// A Win32 error code as an HRESULT: codes that are zero or negative pass unchanged.
constexpr int32_t HResultFromWin32(int32_t error) {
    return error <= 0 ? error : static_cast<int32_t>((static_cast<uint32_t>(error) & 0xFFFFu) | 0x80070000u);
}

// A call that failed, as an HRESULT: its last error, or E_FAIL when it left
// none, so that a failure never reads as success.
constexpr int32_t HResultFromFailedCall(uint32_t lastError) {
    return lastError == 0 ? static_cast<int32_t>(0x80004005u) : HResultFromWin32(static_cast<int32_t>(lastError));
}

// The shell's own codes of 32 and below (SE_ERR_...) as the Win32 errors that
// mean the same; most share their number with an unrelated Win32 error. 0 when
// the code means nothing.
constexpr uint32_t Win32ErrorFromShellCode(intptr_t code) {
    switch (code) {
    case 2:   // SE_ERR_FNF
    case 3:   // SE_ERR_PNF
    case 5:   // SE_ERR_ACCESSDENIED
    case 8:   // SE_ERR_OOM
    case 11:  // ERROR_BAD_FORMAT
        return static_cast<uint32_t>(code);
    case 26:  // SE_ERR_SHARE
        return 32;  // ERROR_SHARING_VIOLATION
    case 27:  // SE_ERR_ASSOCINCOMPLETE
    case 31:  // SE_ERR_NOASSOC
        return 1155;  // ERROR_NO_ASSOCIATION
    case 28:  // SE_ERR_DDETIMEOUT
    case 29:  // SE_ERR_DDEFAIL
    case 30:  // SE_ERR_DDEBUSY
        return 1156;  // ERROR_DDE_FAIL
    case 32:  // SE_ERR_DLLNOTFOUND
        return 1157;  // ERROR_DLL_NOT_FOUND
    default:
        return 0;
    }
}

// A failed ShellExecuteEx: its last error, else the meaning of the shell's
// code in hInstApp, else E_FAIL.
constexpr int32_t HResultFromFailedShellExecute(uint32_t lastError, intptr_t instApp) {
    return HResultFromFailedCall(lastError != 0 ? lastError : Win32ErrorFromShellCode(instApp));
}

// The system's message text ends with CR LF; the message box wants it without.
constexpr std::wstring_view TrimTrailingLineBreaks(std::wstring_view text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) {
        text.remove_suffix(1);
    }
    return text;
}

// What the error box says when the system has no text for the HRESULT:
// "HRESULT 0x8007000e", terminated, in a buffer of the caller's.
constexpr size_t kUnknownHResultChars = 20;
void FormatUnknownHResult(int32_t hr, wchar_t (&text)[kUnknownHResultChars]);
