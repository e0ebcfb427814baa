// The registry as the registration script sees it: a few operations on opaque
// keys, so the interpreter runs against the real registry or an in-memory one.
#pragma once
#include <cstdint>
#include <string_view>

class IRegistry {
public:
    using Key = uintptr_t;  // 0: no key

    virtual ~IRegistry() = default;

    // Every name and text passed in is followed by a terminating zero, so it
    // can go to the system as it is.

    // The predefined key a root name stands for, or 0 for an unknown name.
    virtual Key RootKey(std::wstring_view name) = 0;
    // Each returns a Win32 error code (0 on success).
    virtual long OpenKey(Key parent, std::wstring_view name, bool bWrite, Key* pKey) = 0;
    virtual long CreateKey(Key parent, std::wstring_view name, Key* pKey) = 0;
    // An empty name is the key's default value. REG_SZ, terminating zero included.
    virtual long SetValue(Key key, std::wstring_view name, std::wstring_view data) = 0;
    virtual long DeleteValue(Key key, std::wstring_view name) = 0;
    virtual long SubkeyCount(Key key, uint32_t* pCount) = 0;
    // The name, terminated, into a buffer of kMaxKeyNameChars.
    virtual long EnumSubkey(Key key, uint32_t index, wchar_t* pszName) = 0;
    virtual long DeleteKey(Key parent, std::wstring_view name) = 0;
    virtual void CloseKey(Key key) = 0;
};

// A key name has at most 255 characters; the buffer holds its terminating zero too.
constexpr uint32_t kMaxKeyNameChars = 256;

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
