// Windows of programs with more rights: the rows' shield, Apply's shield, the
// one consent that relaunches the program, and the hand-over the relaunched
// instance takes. Levels and refusals come from the test build's stand-in.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

namespace {

constexpr DWORD kMedium = 0x2000;
constexpr DWORD kHigh = 0x3000;
constexpr DWORD kSystem = 0x4000;
constexpr DWORD kCannotBeAsked = 1;  // the stand-in's process that cannot be asked

std::wstring StandInPath() {
    std::wstring exe = KelpoPath();
    exe.insert(exe.size() - 4, L"_uipi");
    return exe;
}

// The program's environment for one case, taken back whatever happens.
class CEnvironment {
public:
    CEnvironment(DWORD dwOwnLevel, DWORD dwRunAsError) {
        ::SetEnvironmentVariableW(L"KELPO_INTEGRITY", std::to_wstring(dwOwnLevel).c_str());
        ::SetEnvironmentVariableW(L"KELPO_RUNAS_ERROR",
                                  dwRunAsError != 0 ? std::to_wstring(dwRunAsError).c_str() : nullptr);
    }
    ~CEnvironment() {
        ::SetEnvironmentVariableW(L"KELPO_INTEGRITY", nullptr);
        ::SetEnvironmentVariableW(L"KELPO_RUNAS_ERROR", nullptr);
    }
};

bool Marked(const CKelpo& kelpo, HWND hWnd) {
    const int iRow = kelpo.FindRow(hWnd);
    EXPECT_GE(iRow, 0);
    return SendToProgram(kelpo.Item(IDC_WINDOWS), LVM_GETITEMSTATE, iRow, LVIS_OVERLAYMASK) == INDEXTOOVERLAYMASK(1);
}

bool Shielded(const CKelpo& kelpo) { return ::GetPropW(kelpo.Item(IDC_APPLY), L"Kelpo.Shield") != nullptr; }

// The program's dialog in a process other than the one given, or 0.
DWORD OtherInstance(DWORD dwFirstPid, DWORD dwTimeoutMs) {
    DWORD dwOther = 0;
    WaitUntil([&] {
        for (HWND h = ::GetTopWindow(nullptr); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            DWORD dwPid = 0;
            ::GetWindowThreadProcessId(h, &dwPid);
            if (dwPid != dwFirstPid && dwPid != ::GetCurrentProcessId() && ::IsWindowVisible(h) &&
                ::GetDlgItem(h, IDC_WINDOWS) != nullptr) {
                dwOther = dwPid;
                return true;
            }
        }
        return false;
    }, dwTimeoutMs);
    return dwOther;
}

enum class Outcome { kRelaunched, kMoved, kDeclined, kFailed };

TEST(Elevation, RowsAndApplySayWhatNeedsMoreRightsAndOneConsentMoves) {
    KELPO_SKIP_ON_WINDOWS("declared integrity levels (the rights stand-in) and no consent prompt");
    const struct {
        const char* name;
        DWORD dwLevel;       // the target's process
        DWORD dwRunAsError;  // the consent prompt's answer (0: consent given)
        bool bMarked;        // before Apply
        bool bShield;
        Outcome outcome;
    } rows[] = {
        {"at the administrators' level: one consent", kHigh, 0, true, true, Outcome::kRelaunched},
        {"the prompt declined", kHigh, ERROR_CANCELLED, true, true, Outcome::kDeclined},
        {"the relaunch fails otherwise", kHigh, ERROR_FILE_NOT_FOUND, true, true, Outcome::kFailed},
        {"above the administrators' level", kSystem, 0, true, false, Outcome::kFailed},
        {"a process that cannot be asked", kCannotBeAsked, 0, false, false, Outcome::kFailed},
        {"the same level", kMedium, 0, false, false, Outcome::kMoved},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CTargetThread targets;
        const HWND hSame = targets.Create(L"kelpo e2e same level", kSizable, 0, RECT{500, 300, 700, 450});
        const CDeclaredTarget declared(row.dwLevel, RECT{30, 40, 430, 340});
        const HWND hTarget = declared.Window();
        ASSERT_NE(hTarget, nullptr);
        const CEnvironment environment(kMedium, row.dwRunAsError);
        CKelpo kelpo;
        ASSERT_TRUE(kelpo.Start(L"", StandInPath()));
        ASSERT_NE(kelpo.WaitForDialog(), nullptr);

        EXPECT_EQ(Marked(kelpo, hTarget), row.bMarked);
        EXPECT_FALSE(Marked(kelpo, hSame));
        ASSERT_TRUE(kelpo.SelectWindow(hTarget));
        EXPECT_EQ(Shielded(kelpo), row.bShield);
        ASSERT_TRUE(kelpo.SelectWindow(hSame));
        EXPECT_FALSE(Shielded(kelpo));
        ASSERT_TRUE(kelpo.SelectWindow(hTarget));
        kelpo.SetFields(L"420", L"300", L"50", L"60");
        kelpo.Click(IDC_APPLY);

        if (row.outcome == Outcome::kRelaunched) {
            EXPECT_EQ(kelpo.WaitForExit(), 0u);
            CKelpo elevated;
            ASSERT_TRUE(elevated.Attach(OtherInstance(kelpo.Pid(), 8000)));
            ASSERT_NE(elevated.WaitForDialog(), nullptr);
            EXPECT_TRUE(WaitUntil([&] { return elevated.SelectedRow() == elevated.FindRow(hTarget); }));
            EXPECT_TRUE(WaitUntil([&] { return SizePosText(VisibleFrame(hTarget)) == L"420,300,50,60"; }));
            EXPECT_EQ(elevated.Fields(), L"420,300,50,60");
            EXPECT_FALSE(Shielded(elevated));  // it has the rights now
            continue;
        }
        EXPECT_EQ(kelpo.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
        EXPECT_EQ(OtherInstance(kelpo.Pid(), 1000), 0u);
        switch (row.outcome) {
        case Outcome::kMoved:
            EXPECT_TRUE(WaitUntil([&] { return SizePosText(VisibleFrame(hTarget)) == L"420,300,50,60"; }));
            break;
        case Outcome::kDeclined:
            EXPECT_EQ(kelpo.SelectedRow(), kelpo.FindRow(hTarget));
            EXPECT_EQ(kelpo.Fields(), L"420,300,50,60");
            EXPECT_TRUE(Shielded(kelpo));
            EXPECT_EQ(RectText(WindowRect(hTarget)), L"30,40,430,340");
            break;
        default:
            EXPECT_EQ(kelpo.SelectedRow(), -1);
            EXPECT_EQ(kelpo.Fields(), L",,,");
            EXPECT_EQ(RectText(WindowRect(hTarget)), L"30,40,430,340");
            // Refused: marked from now on, whatever its level said.
            EXPECT_TRUE(Marked(kelpo, hTarget));
            break;
        }
    }
}

// The relaunched instance trusts nothing in its command line.
TEST(Elevation, AHandOverMovesOnlyTheWindowItNames) {
    CTargetThread targets;
    const RECT rcStart = {30, 40, 430, 340};
    const HWND hTarget = targets.Create(L"kelpo e2e handed over", kSizable, 0, rcStart);
    const HWND hGone = targets.Create(L"kelpo e2e gone", kSizable, 0, RECT{60, 70, 260, 270});
    targets.Destroy(hGone);
    const CDeclaredTarget other(kMedium, RECT{500, 300, 700, 450});
    const auto window = [](HWND hWnd) {
        return std::to_wstring(static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hWnd)));
    };
    const std::wstring self = std::to_wstring(::GetCurrentProcessId());
    const std::wstring target = window(hTarget);
    const struct {
        const char* name;
        std::wstring args;
        bool bMoves;
    } rows[] = {
        {"all in order", L"/ApplyElevated:" + target + L"," + self + L",420,300,50,60", true},
        {"a window that is gone", L"/ApplyElevated:" + window(hGone) + L"," + self + L",420,300,50,60", false},
        {"a window of another process", L"/ApplyElevated:" + window(other.Window()) + L"," + self + L",420,300,50,60",
         false},
    };  // the lines the parser refuses are the native table's
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ::SetWindowPos(hTarget, nullptr, rcStart.left, rcStart.top, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
        const int nMoves = CTargetThread::Moves(hTarget);
        CKelpo kelpo;
        ASSERT_TRUE(kelpo.Start(row.args));
        ASSERT_NE(kelpo.WaitForDialog(), nullptr);
        if (row.bMoves) {
            EXPECT_TRUE(WaitUntil([&] { return SizePosText(VisibleFrame(hTarget)) == L"420,300,50,60"; }));
            EXPECT_EQ(kelpo.SelectedRow(), kelpo.FindRow(hTarget));
            EXPECT_EQ(kelpo.Fields(), L"420,300,50,60");
        } else {
            // Long enough for a hand-over taken to have moved it.
            ::Sleep(300);
            EXPECT_EQ(kelpo.SelectedRow(), -1);
            EXPECT_EQ(kelpo.Fields(), L",,,");
            EXPECT_EQ(CTargetThread::Moves(hTarget), nMoves);
        }
    }
}

}  // namespace
