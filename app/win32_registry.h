// The registration script's registry operations on the real Win32 registry.
#pragma once
#include <windows.h>

#include "app/registry.h"

class CWin32Registry : public IRegistry {
public:
    Key RootKey(std::wstring_view name) override;
    long OpenKey(Key parent, std::wstring_view name, bool bWrite, Key* pKey) override;
    long CreateKey(Key parent, std::wstring_view name, Key* pKey) override;
    long SetValue(Key key, std::wstring_view name, std::wstring_view data) override;
    long DeleteValue(Key key, std::wstring_view name) override;
    long SubkeyCount(Key key, uint32_t* pCount) override;
    long EnumSubkey(Key key, uint32_t index, wchar_t* pszName) override;
    long DeleteKey(Key parent, std::wstring_view name) override;
    void CloseKey(Key key) override;
};
