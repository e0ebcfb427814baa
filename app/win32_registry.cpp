#include "app/win32_registry.h"

#include "app/registration_script.h"
#include "win/system_library.h"

namespace {

HKEY H(IRegistry::Key key) { return reinterpret_cast<HKEY>(key); }

bool IsPredefined(HKEY hKey) {
    const auto value = reinterpret_cast<ULONG_PTR>(hKey);
    return value >= 0x80000000u && value <= 0x80000006u;
}

using RegDeleteKeyExWFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

// RegDeleteKeyExW where the system has it (it may not on older systems).
RegDeleteKeyExWFn DeleteKeyEx() {
    static const RegDeleteKeyExWFn s_pfn =
        LoadedSystemFunction<RegDeleteKeyExWFn>(L"advapi32.dll", "RegDeleteKeyExW");
    return s_pfn;
}

}  // namespace

IRegistry::Key CWin32Registry::RootKey(std::wstring_view name) {
    static const struct {
        const wchar_t* pszShort;
        const wchar_t* pszLong;
        HKEY hKey;
    } kRoots[] = {
        {L"HKCR", L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {L"HKCU", L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {L"HKLM", L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {L"HKU", L"HKEY_USERS", HKEY_USERS},
        {L"HKPD", L"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
        {L"HKDD", L"HKEY_DYN_DATA", HKEY_DYN_DATA},
        {L"HKCC", L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    };
    for (const auto& root : kRoots) {
        if (EqualsNoCase(name, root.pszShort) || EqualsNoCase(name, root.pszLong)) {
            return reinterpret_cast<Key>(root.hKey);
        }
    }
    return 0;
}

long CWin32Registry::OpenKey(Key parent, std::wstring_view name, bool bWrite, Key* pKey) {
    HKEY hKey = nullptr;
    const LONG error =
        ::RegOpenKeyExW(H(parent), name.empty() ? nullptr : name.data(), 0, bWrite ? KEY_READ | KEY_WRITE : KEY_READ,
                        &hKey);
    *pKey = error == ERROR_SUCCESS ? reinterpret_cast<Key>(hKey) : 0;
    return error;
}

long CWin32Registry::CreateKey(Key parent, std::wstring_view name, Key* pKey) {
    HKEY hKey = nullptr;
    const LONG error = ::RegCreateKeyExW(H(parent), name.data(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_READ | KEY_WRITE, nullptr, &hKey, nullptr);
    *pKey = error == ERROR_SUCCESS ? reinterpret_cast<Key>(hKey) : 0;
    return error;
}

long CWin32Registry::SetValue(Key key, std::wstring_view name, std::wstring_view data) {
    return ::RegSetValueExW(H(key), name.empty() ? nullptr : name.data(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

long CWin32Registry::DeleteValue(Key key, std::wstring_view name) {
    return ::RegDeleteValueW(H(key), name.data());
}

long CWin32Registry::SubkeyCount(Key key, uint32_t* pCount) {
    DWORD dwCount = 0;
    const LONG error = ::RegQueryInfoKeyW(H(key), nullptr, nullptr, nullptr, &dwCount, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr);
    *pCount = dwCount;
    return error;
}

long CWin32Registry::EnumSubkey(Key key, uint32_t index, wchar_t* pszName) {
    DWORD cch = kMaxKeyNameChars;
    const LONG error = ::RegEnumKeyExW(H(key), index, pszName, &cch, nullptr, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS) {
        pszName[0] = L'\0';
    }
    return error;
}

long CWin32Registry::DeleteKey(Key parent, std::wstring_view name) {
    if (RegDeleteKeyExWFn pfn = DeleteKeyEx()) {
        return pfn(H(parent), name.data(), 0, 0);
    }
    return ::RegDeleteKeyW(H(parent), name.data());
}

void CWin32Registry::CloseKey(Key key) {
    if (key != 0 && !IsPredefined(H(key))) {
        ::RegCloseKey(H(key));
    }
}
