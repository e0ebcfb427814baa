// The registration script interpreter: replacement, tokens, grammar and the
// register, unregister and undo passes. Free of platform calls.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/pod_array.h"
#include "app/registry.h"
#include "base/wide_string.h"

constexpr int32_t kHrOk = 0;
constexpr int32_t kHrFail = static_cast<int32_t>(0x80004005u);
constexpr int32_t kHrDispException = static_cast<int32_t>(0x80020009u);
constexpr int32_t kHrOutOfMemory = static_cast<int32_t>(0x8007000Eu);

struct Replacement {
    std::wstring_view name;
    std::wstring_view text;
};

// "Module", "Module_Raw" and "APPID" for an executable's path: single quotes
// doubled so the path survives the script's quoted strings unchanged.
class CModuleReplacements {
public:
    // False when the memory for the texts cannot be had.
    bool Make(std::wstring_view path);
    const Replacement* Table() const { return m_table; }
    static constexpr size_t kCount = 3;

private:
    CWideString m_quoted;
    CWideString m_raw;
    Replacement m_table[kCount] = {};
};

// Replaces %name% by its text and %% by %. Names compare without case. The
// result goes into a buffer that reports running out of memory (kHrOutOfMemory).
int32_t ExpandReplacements(std::wstring_view text, const Replacement* pTable, size_t nTable,
                           CPodArray<wchar_t>* pOut);

inline std::wstring_view TextView(const CPodArray<wchar_t>& text) {
    return std::wstring_view(text.data(), text.size());
}

// Runs an expanded script. A register pass that fails inside a root block runs
// that block again in unregister mode and returns the first failure. Each pass
// asks for its memory before its first registry call, so running out of it
// (kHrOutOfMemory) leaves the registry as it was.
int32_t RunRegistrationScript(std::wstring_view script, bool bRegister, IRegistry& registry);

// Names that a ForceRemove never deletes.
bool IsProtectedKeyName(std::wstring_view name);

// Case-insensitive comparison of the script's names (ASCII letters fold).
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
