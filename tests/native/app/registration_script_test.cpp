#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <cwchar>

#include "app/registration_script.h"
#include "failing_memory.h"
#include "memory_registry.h"

namespace {

const std::wstring kPath = L"C:\\Program Files\\Kelpo\\kelpo64.exe";
const std::wstring kShell = L"Software\\Classes\\DesktopBackground\\shell";

std::wstring ShippedScript() {
    std::ifstream in(std::string(KELPO_SOURCE_DIR) + "/res/kelpo.rgs", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::wstring(bytes.begin(), bytes.end());  // the script is plain ASCII
}

int32_t RunScript(CMemoryRegistry& reg, bool bRegister, const std::wstring& path = kPath,
            const std::wstring& script = ShippedScript()) {
    CModuleReplacements replacements;
    if (!replacements.Make(path)) return kHrOutOfMemory;
    CPodArray<wchar_t> expanded;
    const int32_t hr = ExpandReplacements(script, replacements.Table(), CModuleReplacements::kCount, &expanded);
    if (hr < 0) return hr;
    const int32_t result = RunRegistrationScript(TextView(expanded), bRegister, reg);
    EXPECT_EQ(reg.openKeys, 0) << "a key was left open";
    return result;
}

int32_t RunText(CMemoryRegistry& reg, bool bRegister, const std::wstring& script) {
    return RunScript(reg, bRegister, kPath, script);
}

TEST(Registration, RegisterWritesExactlyTheVerbKeys) {
    CMemoryRegistry reg;
    ASSERT_EQ(RunScript(reg, true), kHrOk);
    const std::wstring quoted = L"\"" + kPath + L"\"";
    const std::wstring expected =
        L"\\Software\n\\Software\\Classes\n\\Software\\Classes\\DesktopBackground\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize [icon]=" + quoted + L"\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize [muiverb]=@" + quoted + L",-256\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize [noworkingdirectory]=\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize [position]=Bottom\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize\\command\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize\\command []=" + quoted + L"\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize-runas\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize-runas [extended]=\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize-runas [hasluashield]=\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize-runas [icon]=" + quoted + L"\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize-runas [muiverb]=@" + quoted + L",-257\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize-runas [noworkingdirectory]=\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize-runas [position]=Bottom\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize-runas\\command\n"
        L"\\Software\\Classes\\DesktopBackground\\shell\\resize-runas\\command []=" + quoted + L" /RunAs\n";
    // The dump lists a key's values before its subkeys; sort both sides by line for the comparison.
    auto lines = [](const std::wstring& s) {
        std::multiset<std::wstring> out;
        size_t start = 0;
        while (start < s.size()) {
            const size_t end = s.find(L'\n', start);
            out.insert(s.substr(start, end - start));
            start = end + 1;
        }
        return out;
    };
    EXPECT_EQ(lines(reg.Dump()), lines(expected));
}

TEST(Registration, RegisteringTwiceGivesTheSameAndDropsHandAddedValues) {
    CMemoryRegistry once;
    ASSERT_EQ(RunScript(once, true), kHrOk);
    CMemoryRegistry twice;
    ASSERT_EQ(RunScript(twice, true), kHrOk);
    IRegistry::Key key = 0;
    ASSERT_EQ(twice.OpenKey(reinterpret_cast<IRegistry::Key>(twice.Find(kShell + L"\\resize")), L"", true, &key), 0);
    twice.SetValue(key, L"AddedByHand", L"x");
    twice.CloseKey(key);
    ASSERT_EQ(RunScript(twice, true), kHrOk);
    EXPECT_EQ(twice.Dump(), once.Dump());
}

TEST(Registration, UnregisterRemovesTheVerbsAndKeepsTheShellKey) {
    CMemoryRegistry reg;
    ASSERT_EQ(RunScript(reg, true), kHrOk);
    ASSERT_EQ(RunScript(reg, false), kHrOk);
    EXPECT_EQ(reg.Dump(), L"\\Software\n\\Software\\Classes\n\\Software\\Classes\\DesktopBackground\n"
                          L"\\Software\\Classes\\DesktopBackground\\shell\n");
}

TEST(Registration, UnregisterWithNothingRegisteredChangesNothing) {
    CMemoryRegistry empty;
    EXPECT_EQ(RunScript(empty, false), kHrOk);
    EXPECT_EQ(empty.Dump(), L"");

    CMemoryRegistry partial;
    IRegistry::Key software = 0;
    partial.CreateKey(partial.RootKey(L"HKCU"), L"Software", &software);
    partial.SetValue(software, L"Keep", L"me");
    partial.CloseKey(software);
    const std::wstring before = partial.Dump();
    EXPECT_EQ(RunScript(partial, false), kHrOk);
    EXPECT_EQ(partial.Dump(), before);
}

TEST(Registration, ASubkeyAddedByHandKeepsItsVerbKeyAlive) {
    CMemoryRegistry reg;
    ASSERT_EQ(RunScript(reg, true), kHrOk);
    IRegistry::Key extra = 0;
    reg.CreateKey(reinterpret_cast<IRegistry::Key>(reg.Find(kShell + L"\\resize")), L"Extra", &extra);
    reg.CloseKey(extra);
    ASSERT_EQ(RunScript(reg, false), kHrOk);
    ASSERT_NE(reg.Find(kShell + L"\\resize"), nullptr);
    EXPECT_NE(reg.Find(kShell + L"\\resize\\Extra"), nullptr);
    EXPECT_EQ(reg.Find(kShell + L"\\resize\\command"), nullptr);
    EXPECT_EQ(reg.Value(kShell + L"\\resize", L"MUIVerb"), nullptr);
    EXPECT_EQ(reg.Find(kShell + L"\\resize-runas"), nullptr);
}

TEST(Registration, PathsWithSingleQuotesAreWrittenUnchanged) {
    const std::wstring path = L"C:\\Users\\O'Brien\\it''s\\kelpo64.exe";
    CMemoryRegistry reg;
    ASSERT_EQ(RunScript(reg, true, path), kHrOk);
    EXPECT_EQ(std::wstring(reg.Value(kShell + L"\\resize-runas\\command", L"")), L"\"" + path + L"\" /RunAs");
    EXPECT_EQ(std::wstring(reg.Value(kShell + L"\\resize", L"Icon")), L"\"" + path + L"\"");
    CModuleReplacements replacements;
    ASSERT_TRUE(replacements.Make(path));
    const Replacement* table = replacements.Table();
    EXPECT_EQ(table[0].name, L"APPID");
    EXPECT_EQ(table[0].text, L"");
    EXPECT_EQ(table[2].text, L"C:\\Users\\O''Brien\\it''''s\\kelpo64.exe");
}

TEST(Registration, AFailedRegistrationIsUndone) {
    CMemoryRegistry reg;
    reg.failSetValue.insert(L"hasluashield");
    EXPECT_EQ(static_cast<uint32_t>(RunScript(reg, true)), 0x80070005u);
    // The undo removed both verbs (the first was complete); the NoRemove keys stay.
    EXPECT_EQ(reg.Dump(), L"\\Software\n\\Software\\Classes\n\\Software\\Classes\\DesktopBackground\n"
                          L"\\Software\\Classes\\DesktopBackground\\shell\n");

    CMemoryRegistry denied;
    denied.failCreate.insert(L"command");
    EXPECT_EQ(static_cast<uint32_t>(RunScript(denied, true)), 0x80070005u);
    EXPECT_EQ(denied.Find(kShell + L"\\resize"), nullptr);
}

TEST(Registration, AFailedUnregistrationKeepsWhatItDeleted) {
    CMemoryRegistry reg;
    ASSERT_EQ(RunScript(reg, true), kHrOk);
    reg.failDeleteKey.insert(L"resize");
    EXPECT_EQ(static_cast<uint32_t>(RunScript(reg, false)), 0x80070005u);
    EXPECT_NE(reg.Find(kShell + L"\\resize"), nullptr);
    EXPECT_EQ(reg.Find(kShell + L"\\resize\\command"), nullptr);
    EXPECT_EQ(reg.Value(kShell + L"\\resize", L"Icon"), nullptr);
    // Stopped there: the elevated verb was not reached.
    EXPECT_NE(reg.Find(kShell + L"\\resize-runas"), nullptr);
}

TEST(Registration, AKeyThatCannotBeOpenedIsReportedAfterItsSubtree) {
    CMemoryRegistry reg;
    ASSERT_EQ(RunScript(reg, true), kHrOk);
    reg.failOpen.insert(L"desktopbackground");
    EXPECT_EQ(static_cast<uint32_t>(RunScript(reg, false)), 0x80070005u);
    reg.failOpen.clear();
    // Nothing below it was touched.
    EXPECT_NE(reg.Value(kShell + L"\\resize", L"Icon"), nullptr);
    EXPECT_NE(reg.Find(kShell + L"\\resize-runas\\command"), nullptr);
}

TEST(Registration, ProtectedNamesSurviveForceRemove) {
    CMemoryRegistry reg;
    ASSERT_EQ(RunText(reg, true, L"HKCU { Software { val Keep = s 'x' } }"), kHrOk);
    ASSERT_EQ(RunText(reg, true, L"HKCU { ForceRemove software { val New = s 'y' } ForceRemove Other { } }"), kHrOk);
    EXPECT_NE(reg.Value(L"Software", L"Keep"), nullptr);
    EXPECT_NE(reg.Value(L"Software", L"New"), nullptr);
    EXPECT_TRUE(IsProtectedKeyName(L"component categories"));
    EXPECT_TRUE(IsProtectedKeyName(L"TYPELIB"));
    EXPECT_FALSE(IsProtectedKeyName(L"resize"));
}

TEST(Registration, ForceRemoveDeletesWholeTreesDepthFirst) {
    CMemoryRegistry reg;
    ASSERT_EQ(RunText(reg, true, L"HKCU { T { a { b { c { } } d { } } e { } } }"), kHrOk);
    ASSERT_EQ(RunText(reg, true, L"HKCU { ForceRemove T { val x = s '1' } }"), kHrOk);
    EXPECT_EQ(reg.Dump(), L"\\T\n\\T [x]=1\n");
}

TEST(Registration, TokensQuotesAndKeyDefaults) {
    CMemoryRegistry reg;
    ASSERT_EQ(RunText(reg, true, L"HKCU\r\n{\tK = s 'it''s' { val Empty = s '' val 'two words' = S 'a b' }\n}"), kHrOk);
    EXPECT_EQ(std::wstring(reg.Value(L"K", L"")), L"it's");
    EXPECT_EQ(std::wstring(reg.Value(L"K", L"Empty")), L"");
    EXPECT_EQ(std::wstring(reg.Value(L"K", L"two words")), L"a b");

    const std::wstring longest(4094, L'x');
    EXPECT_EQ(RunText(reg, true, L"HKCU { val v = s '" + longest + L"' }"), kHrOk);
    EXPECT_EQ(RunText(reg, true, L"HKCU { val v = s '" + longest + L"x' }"), kHrDispException);
    EXPECT_EQ(RunText(reg, true, L"HKCU { " + longest + L"x }"), kHrDispException);
}

TEST(Registration, SyntaxErrorsAreReported) {
    const wchar_t* bad[] = {
        L"HKEY_NOWHERE { }",              // unknown root
        L"HKCU K { }",                    // no brace after the root
        L"HKCU { a\\b }",                 // key name with a backslash
        L"HKCU { K { '' { } } }",         // an empty key name: the enclosing key itself
        L"HKCU { val v s 'x' }",          // no "=" before the value
        L"HKCU { val v = d '1' }",        // unknown type letter
        L"HKCU { K = q 'x' }",            // unknown type letter on a default
        L"HKCU { val v = s 'open }",      // unterminated quoted text
        L"HKCU { K { val v = s 'x' }",    // text ends inside a block
        L"HKCU {",
        L"",                              // no block at all
        L"  \r\n\t ",
        L"HKCU",                          // ends before its first block
    };
    for (const wchar_t* script : bad) {
        CMemoryRegistry reg;
        EXPECT_EQ(RunText(reg, true, script), kHrDispException) << std::string(script, script + wcslen(script));
        EXPECT_EQ(RunText(reg, false, script), kHrDispException);
    }
}

TEST(Registration, HostileNestingIsRefusedNotFollowed) {
    std::wstring script = L"HKCU {";
    for (int i = 0; i < 5000; ++i) script += L" k {";
    CMemoryRegistry reg;
    EXPECT_EQ(RunText(reg, true, script), kHrDispException);
    EXPECT_EQ(reg.Dump(), L"");  // the undo removed every level it had created
}

// Memory that runs out at any one allocation of a registration or an
// unregistration: E_OUTOFMEMORY, and the registry as it was before the run.
TEST(Registration, RunningOutOfMemoryAnywhereChangesNothing) {
    for (const bool bRegister : {true, false}) {
        SCOPED_TRACE(bRegister ? "register" : "unregister");
        const auto prepared = [&](CMemoryRegistry& reg) {
            if (!bRegister) {
                ASSERT_EQ(RunScript(reg, true), kHrOk);
            }
        };
        CMemoryRegistry probe;
        prepared(probe);
        const long first = AllocationCount();
        ASSERT_EQ(RunScript(probe, bRegister), kHrOk);
        const long total = AllocationCount() - first;
        ASSERT_GT(total, 0);
        for (long n = 0; n < total; ++n) {
            CMemoryRegistry reg;
            prepared(reg);
            const std::wstring before = reg.Dump();
            FailAllocation(AllocationCount() + n);
            EXPECT_EQ(RunScript(reg, bRegister), kHrOutOfMemory) << "allocation " << n << " of " << total;
            FailAllocation(-1);
            EXPECT_EQ(reg.Dump(), before) << "allocation " << n << " of " << total;
        }
    }
}

TEST(Replacement, NamesPercentSignsAndErrors) {
    CModuleReplacements replacements;
    ASSERT_TRUE(replacements.Make(L"C:\\k.exe"));
    const auto expand = [&](std::wstring_view text, CPodArray<wchar_t>* pOut) {
        return ExpandReplacements(text, replacements.Table(), CModuleReplacements::kCount, pOut);
    };
    CPodArray<wchar_t> out;
    EXPECT_EQ(expand(L"a %Module% b %%MODULE_RAW%% %module_raw%%APPID%.", &out), kHrOk);
    EXPECT_EQ(TextView(out), L"a \"C:\\k.exe\" b %MODULE_RAW% C:\\k.exe.");
    EXPECT_EQ(expand(L"'%Module%'", &out), kHrOk);
    EXPECT_EQ(TextView(out), L"'\"C:\\k.exe\"'");
    EXPECT_EQ(expand(L"%Module", &out), kHrDispException);
    EXPECT_EQ(expand(L"%Unknown%", &out), kHrDispException);
    EXPECT_EQ(expand(L"%" + std::wstring(31, L'n') + L"%", &out), kHrDispException);
    EXPECT_EQ(expand(L"%" + std::wstring(32, L'n') + L"%", &out), kHrFail);
    EXPECT_EQ(expand(L"100%", &out), kHrDispException);
}

}  // namespace
