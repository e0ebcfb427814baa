// The registration script interpreter: replacement, tokens, grammar and the
// register, unregister and undo passes. Free of platform calls.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/pod_array.h"

#include "app/registry.h"

constexpr int32_t kHrOk = 0;
constexpr int32_t kHrFail = static_cast<int32_t>(0x80004005u);
constexpr int32_t kHrDispException = static_cast<int32_t>(0x80020009u);
constexpr int32_t kHrOutOfMemory = static_cast<int32_t>(0x8007000Eu);

struct Replacement {
    std::wstring name;
    std::wstring text;
};

// "Module", "Module_Raw" and "APPID" for an executable's path: single quotes
// doubled so the path survives the script's quoted strings unchanged.
std::vector<Replacement> MakeModuleReplacements(const std::wstring& path);

// Replaces %name% by its text and %% by %. Names compare without case. The
// result goes into a buffer that reports running out of memory (kHrOutOfMemory).
int32_t ExpandReplacements(std::wstring_view text, const std::vector<Replacement>& table, CPodArray<wchar_t>* pOut);

inline std::wstring_view TextView(const CPodArray<wchar_t>& text) {
    return std::wstring_view(text.data(), text.size());
}

// Runs an expanded script. A register pass that fails inside a root block runs
// that block again in unregister mode and returns the first failure.
int32_t RunRegistrationScript(std::wstring_view script, bool bRegister, IRegistry& registry);

// Names that a ForceRemove never deletes.
bool IsProtectedKeyName(const std::wstring& name);

// Case-insensitive comparison of the script's names (ASCII letters fold).
bool EqualsNoCase(const std::wstring& a, const std::wstring& b);
