// "/RegServer" and "/UnregServer" of the real program against the prefix's registry.
#include <gtest/gtest.h>

#include <map>

#include "harness.h"

namespace {

const wchar_t kShell[] = L"Software\\Classes\\DesktopBackground\\shell";

// Every value below a key as "subkey\name=data" lines, sorted.
void DumpKey(HKEY hKey, const std::wstring& path, std::map<std::wstring, std::wstring>& out) {
    wchar_t name[256];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
        DWORD cchName = 256;
        DWORD cbData = sizeof(data);
        DWORD type = 0;
        if (::RegEnumValueW(hKey, i, name, &cchName, nullptr, &type, data, &cbData) != ERROR_SUCCESS) break;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
        out[path + L"[" + name + L"]"] = std::wstring(reinterpret_cast<wchar_t*>(data));
    }
    for (DWORD i = 0;; ++i) {
        DWORD cchName = 256;
        if (::RegEnumKeyExW(hKey, i, name, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY hChild = nullptr;
        if (::RegOpenKeyExW(hKey, name, 0, KEY_READ, &hChild) == ERROR_SUCCESS) {
            out[path + name + L"\\"] = L"";
            DumpKey(hChild, path + name + L"\\", out);
            ::RegCloseKey(hChild);
        }
    }
}

std::map<std::wstring, std::wstring> Shell() {
    std::map<std::wstring, std::wstring> out;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kShell, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        out[L"<shell>"] = L"";
        DumpKey(hKey, L"", out);
        ::RegCloseKey(hKey);
    }
    return out;
}

bool KeyExists(const std::wstring& path) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\DesktopBackground\\shell\\resize");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\DesktopBackground\\shell\\resize-runas");
    }
};

// What the script writes, value by value, is the native tables'; here, that
// the switches run the program's own script with its own path into the real
// registry, silently.
TEST_F(Registration, RegServerWritesTheVerbsForThisExecutable) {
    bool bBox = true;
    EXPECT_EQ(RunSwitch(L"/regserver", &bBox), 0u);
    EXPECT_FALSE(bBox);
    auto shell = Shell();
    const std::wstring q = L"\"" + KelpoPath() + L"\"";
    EXPECT_EQ(shell[L"resize\\command\\[]"], q);
    EXPECT_EQ(shell[L"resize\\[MUIVerb]"], L"@" + q + L",-256");
    EXPECT_EQ(shell[L"resize-runas\\command\\[]"], q + L" /RunAs");
}

TEST_F(Registration, UnregServerInAnyCaseRemovesTheVerbsOnly) {
    ASSERT_EQ(RunSwitch(L"/RegServer"), 0u);
    bool bBox = true;
    EXPECT_EQ(RunSwitch(L"/uNrEgSeRvEr", &bBox), 0u);
    EXPECT_FALSE(bBox);
    EXPECT_FALSE(KeyExists(std::wstring(kShell) + L"\\resize"));
    EXPECT_FALSE(KeyExists(std::wstring(kShell) + L"\\resize-runas"));
    EXPECT_TRUE(KeyExists(kShell));
}

// Copies the program to dir (created as needed), returning the copy's path.
std::wstring CopyProgramTo(const std::wstring& dir) {
    size_t pos = 0;
    while ((pos = dir.find(L'\\', pos + 1)) != std::wstring::npos) {
        ::CreateDirectoryW(dir.substr(0, pos).c_str(), nullptr);
    }
    ::CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring exe = dir + L"\\" + KELPO_EXE_NAME;
    ::CopyFileW(KelpoPath().c_str(), exe.c_str(), FALSE);
    return exe;
}

TEST_F(Registration, APathOf260CharactersFailsAndWritesNothing) {
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    std::wstring dir = std::wstring(szTemp) + L"kelpo-e2e-long";
    while (dir.size() + 1 + wcslen(KELPO_EXE_NAME) < 262) dir += L"\\" + std::wstring(40, L'd');
    const std::wstring exe = CopyProgramTo(dir);
    if (::GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "this system cannot create a path that long";
    }
    ASSERT_GE(exe.size(), 260u);
    const auto before = Shell();
    {
        CKelpo probe;
        if (!probe.Start(L"/UnregServer", exe)) {
            ::DeleteFileW(exe.c_str());
            GTEST_SKIP() << "this system cannot start a program from a path that long";
        }
        probe.WaitForExit();
    }
    bool bBox = false;
    EXPECT_EQ(RunSwitch(L"/RegServer", &bBox, exe), 0x8007007Au);
    EXPECT_TRUE(bBox);
    EXPECT_EQ(Shell(), before);
    ::DeleteFileW(exe.c_str());
}

}  // namespace
