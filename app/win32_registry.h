// The registration script's registry operations on the real Win32 registry.
#pragma once
#include <windows.h>

#include "app/registry.h"

class CWin32Registry : public IRegistry {
public:
    Key RootKey(const std::wstring& name) override;
    long OpenKey(Key parent, const std::wstring& name, bool bWrite, Key* pKey) override;
    long CreateKey(Key parent, const std::wstring& name, Key* pKey) override;
    long SetValue(Key key, const std::wstring& name, const std::wstring& data) override;
    long DeleteValue(Key key, const std::wstring& name) override;
    long SubkeyCount(Key key, uint32_t* pCount) override;
    long EnumSubkey(Key key, uint32_t index, std::wstring* pName) override;
    long DeleteKey(Key parent, const std::wstring& name) override;
    void CloseKey(Key key) override;
};
