#include <gtest/gtest.h>

#include <cwctype>

#include "app/command_line.h"

namespace {

int AsciiCompareNoCase(const wchar_t* a, const wchar_t* b) {
    for (;; ++a, ++b) {
        const wint_t ca = std::towlower(*a);
        const wint_t cb = std::towlower(*b);
        if (ca != cb || ca == 0) {
            return static_cast<int>(ca) - static_cast<int>(cb);
        }
    }
}

StartAction Choose(int argc, const wchar_t* tail) { return ChooseStartAction(argc, tail, AsciiCompareNoCase); }

TEST(CommandLine, SwitchesMatchTheWholeTailInAnyCase) {
    EXPECT_EQ(Choose(2, L"/RunAs"), StartAction::RunAs);
    EXPECT_EQ(Choose(2, L"/runas"), StartAction::RunAs);
    EXPECT_EQ(Choose(2, L"/RUNAS"), StartAction::RunAs);
    EXPECT_EQ(Choose(2, L"/RegServer"), StartAction::RegServer);
    EXPECT_EQ(Choose(2, L"/unregserver"), StartAction::UnregServer);
    EXPECT_EQ(Choose(2, L"/UNREGSERVER"), StartAction::UnregServer);
}

TEST(CommandLine, AnythingElseShowsTheDialog) {
    EXPECT_EQ(Choose(2, L"/RunAs "), StartAction::ShowDialog);
    EXPECT_EQ(Choose(3, L"/RunAs x"), StartAction::ShowDialog);
    EXPECT_EQ(Choose(2, L"RunAs"), StartAction::ShowDialog);
    EXPECT_EQ(Choose(2, L"-RegServer"), StartAction::ShowDialog);
    EXPECT_EQ(Choose(2, L"/Reg"), StartAction::ShowDialog);
    EXPECT_EQ(Choose(2, L""), StartAction::ShowDialog);
    EXPECT_EQ(Choose(2, nullptr), StartAction::ShowDialog);
}

TEST(CommandLine, FewerThanTwoArgumentsNeverCompares) {
    // A tail the runtime did not count as an argument (for instance only quotes) is ignored.
    EXPECT_EQ(Choose(1, L"/RunAs"), StartAction::ShowDialog);
    EXPECT_EQ(Choose(0, L"/RegServer"), StartAction::ShowDialog);
}

}  // namespace
