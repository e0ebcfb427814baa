// A library planted beside the program never runs in it: a copy of the program
// shares a folder with a dwmapi.dll that leaves a mark when loaded, and Wine
// prefers native DLLs of that name from the program's folder (scripts/test
// sets dwmapi=n,b), as Windows does for every library that is not a known DLL.
// version.dll and uxtheme.dll cannot be tried so under Wine: its own user32
// imports version.dll and its common controls load uxtheme.dll while they are
// attached, both before the program's first line, from the program's folder.
#include <gtest/gtest.h>

#include <functional>

#include "harness.h"

namespace {

const wchar_t kPlanted[] = L"dwmapi.dll";

std::wstring OwnFolder() {
    wchar_t sz[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, sz, MAX_PATH);
    std::wstring path = sz;
    return path.erase(path.find_last_of(L"\\/") + 1);
}

bool Marked(const std::wstring& folder) {
    return ::GetFileAttributesW((folder + kPlanted + L".loaded").c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(Planting, NoLibraryBesideTheProgramIsLoadedOnAnyPath) {
    wchar_t szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    const std::wstring folder = std::wstring(szTemp) + L"kelpo-planted-" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring exe = folder + KELPO_EXE_NAME;
    ASSERT_TRUE(::CopyFileW(KelpoPath().c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW((OwnFolder() + L"planted\\" + kPlanted).c_str(), (folder + kPlanted).c_str(), FALSE));
    // Wine reads its own variables from the environment it started with, so
    // the override must come from outside.
    wchar_t szOverrides[512] = {};
    ::GetEnvironmentVariableW(L"WINEDLLOVERRIDES", szOverrides, 512);
    if (RunsUnderWine()) {
        ASSERT_NE(wcsstr(szOverrides, L"dwmapi=n,b"), nullptr) << "run with WINEDLLOVERRIDES=dwmapi=n,b";
    }

    CTargetThread targets;
    HWND hTarget = targets.Create(L"kelpo planted target", kSizable, 0, RECT{40, 40, 440, 340});
    CKelpo kelpo;
    const std::pair<const wchar_t*, std::function<void()>> paths[] = {
        {L"start-up with a filled list",
         [&] {
             ASSERT_TRUE(kelpo.Start(L"", exe));
             ASSERT_NE(kelpo.WaitForDialog(), nullptr);
             EXPECT_GE(kelpo.FindRow(hTarget), 0);
         }},
        {L"About box",
         [&] {
             ::PostMessageW(kelpo.OpenAboutBox(), WM_COMMAND, IDOK, 0);
             EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(kelpo.Dlg()) != FALSE; }));
         }},
        {L"Refresh", [&] { kelpo.Command(ID_REFRESH); }},
        {L"Apply on a sizable target",
         [&] {
             kelpo.SelectRow(kelpo.FindRow(hTarget));
             kelpo.SetText(IDC_X, L"120");
             kelpo.Click(IDC_APPLY);
             EXPECT_EQ(VisibleFrame(hTarget).left, 120);
             kelpo.Click(IDCANCEL);
             EXPECT_EQ(kelpo.WaitForExit(), 0u);
         }},
        {L"/RegServer", [&] { EXPECT_EQ(RunSwitch(L"/RegServer", nullptr, exe), 0u); }},
        {L"/UnregServer", [&] { EXPECT_EQ(RunSwitch(L"/UnregServer", nullptr, exe), 0u); }},
    };
    for (const auto& [name, run] : paths) {
        SCOPED_TRACE(name);
        run();
        EXPECT_FALSE(Marked(folder));
    }

    ::DeleteFileW((folder + kPlanted).c_str());
    ::DeleteFileW((folder + kPlanted + L".loaded").c_str());
    ::DeleteFileW(exe.c_str());
    ::RemoveDirectoryW(folder.c_str());
}
