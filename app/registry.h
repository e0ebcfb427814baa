// The registry as the registration script sees it: a few operations on opaque
// keys, so the interpreter runs against the real registry or an in-memory one.
#pragma once
#include <cstdint>
#include <string>

class IRegistry {
public:
    using Key = uintptr_t;  // 0: no key

    virtual ~IRegistry() = default;

    // The predefined key a root name stands for, or 0 for an unknown name.
    virtual Key RootKey(const std::wstring& name) = 0;
    // Each returns a Win32 error code (0 on success).
    virtual long OpenKey(Key parent, const std::wstring& name, bool bWrite, Key* pKey) = 0;
    virtual long CreateKey(Key parent, const std::wstring& name, Key* pKey) = 0;
    // An empty name is the key's default value. REG_SZ, terminating zero included.
    virtual long SetValue(Key key, const std::wstring& name, const std::wstring& data) = 0;
    virtual long DeleteValue(Key key, const std::wstring& name) = 0;
    virtual long SubkeyCount(Key key, uint32_t* pCount) = 0;
    virtual long EnumSubkey(Key key, uint32_t index, std::wstring* pName) = 0;
    virtual long DeleteKey(Key parent, const std::wstring& name) = 0;
    virtual void CloseKey(Key key) = 0;
};

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
