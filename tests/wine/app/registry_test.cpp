// The interpreter against the real registry of the Wine prefix.
#include <gtest/gtest.h>

#include "app/app_module.h"
#include "app/registration_script.h"
#include "app/win32_registry.h"

namespace {

const wchar_t kTestKey[] = L"Software\\KelpoWineTest";

std::wstring ReadValue(const std::wstring& path, const wchar_t* name) {
    wchar_t data[512] = {};
    DWORD cb = sizeof(data);
    DWORD type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, &type, data, &cb) != ERROR_SUCCESS) {
        return L"<missing>";
    }
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(cb, (wcslen(data) + 1) * sizeof(wchar_t)) << "the terminating zero is part of the value";
    return data;
}

bool Exists(const std::wstring& path) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
}

class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    int32_t Run(const std::wstring& script, bool bRegister) {
        return RunRegistrationScript(script, bRegister, m_registry);
    }
    CWin32Registry m_registry;
};

TEST_F(RealRegistry, RegisterAndUnregisterAScript) {
    const std::wstring script =
        L"HKCU { NoRemove Software { NoRemove KelpoWineTest { ForceRemove verb = s 'default' {"
        L" val Named = s 'it''s' val Empty = s '' command = s '\"C:\\x.exe\" /RunAs' } } } }";
    ASSERT_EQ(Run(script, true), kHrOk);
    EXPECT_EQ(ReadValue(L"Software\\KelpoWineTest\\verb", nullptr), L"default");
    EXPECT_EQ(ReadValue(L"Software\\KelpoWineTest\\verb", L"Named"), L"it's");
    EXPECT_EQ(ReadValue(L"Software\\KelpoWineTest\\verb", L"Empty"), L"");
    EXPECT_EQ(ReadValue(L"Software\\KelpoWineTest\\verb\\command", nullptr), L"\"C:\\x.exe\" /RunAs");

    // ForceRemove starts the key afresh, subkeys and all.
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\KelpoWineTest\\verb\\extra\\deeper", 0, nullptr, 0,
                                KEY_WRITE, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);
    ASSERT_EQ(Run(script, true), kHrOk);
    EXPECT_FALSE(Exists(L"Software\\KelpoWineTest\\verb\\extra"));

    ASSERT_EQ(Run(script, false), kHrOk);
    EXPECT_FALSE(Exists(L"Software\\KelpoWineTest\\verb"));
    EXPECT_TRUE(Exists(kTestKey));
    // Nothing left to remove is no error.
    EXPECT_EQ(Run(script, false), kHrOk);
}

TEST_F(RealRegistry, RootNamesInEitherForm) {
    EXPECT_EQ(m_registry.RootKey(L"hkcu"), reinterpret_cast<IRegistry::Key>(HKEY_CURRENT_USER));
    EXPECT_EQ(m_registry.RootKey(L"HKEY_LOCAL_MACHINE"), reinterpret_cast<IRegistry::Key>(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(m_registry.RootKey(L"HKCC"), reinterpret_cast<IRegistry::Key>(HKEY_CURRENT_CONFIG));
    EXPECT_EQ(m_registry.RootKey(L"HKEY_WHATEVER"), 0u);
}

// What the program's own script writes is the end-to-end tests' "/RegServer";
// here, that a script resource that does not exist is reported, not ignored.
TEST_F(RealRegistry, AMissingScriptResourceIsReported) {
    EXPECT_EQ(static_cast<uint32_t>(s_module.ApplyRegistrationScript(999, TRUE)), 0x80070716u);
}

}  // namespace
