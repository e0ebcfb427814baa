#include <gtest/gtest.h>

#include <cwctype>
#include <string>

#include "app/command_line.h"
#include "app/hand_over.h"

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

// The hand-over to an elevated instance: exact, or nothing at all.
TEST(CommandLine, AHandOverIsReadOnlyWhenEveryFieldIsInOrder) {
    const struct {
        const wchar_t* tail;
        const char* expected;  // "window,process,w,h,x,y", or null: no hand-over
    } rows[] = {
        {L"/ApplyElevated:65636,4120,420,300,50,60", "65636,4120,420,300,50,60"},
        {L"/ApplyElevated:4294967295,4294967295,-32768,32767,-32768,32767",
         "4294967295,4294967295,-32768,32767,-32768,32767"},
        {L"/ApplyElevated:4294967296,1,1,1,1,1", nullptr},
        {L"/ApplyElevated:1,1,32768,1,1,1", nullptr},
        {L"/ApplyElevated:1,1,1,1,1,-32769", nullptr},
        {L"/ApplyElevated:-1,1,1,1,1,1", nullptr},
        {L"/ApplyElevated:1,1,+1,1,1,1", nullptr},
        {L"/ApplyElevated:1,1,1,1,1", nullptr},
        {L"/ApplyElevated:1,1,1,1,1,1,1", nullptr},
        {L"/ApplyElevated:1,1,1,,1,1", nullptr},
        {L"/ApplyElevated:1,1,1,1,1,1 ", nullptr},
        {L"/ApplyElevated: 1,1,1,1,1,1", nullptr},
        {L"/ApplyElevated:1,1,1,1,1,-", nullptr},
        {L"/ApplyElevated:1,1,0x10,1,1,1", nullptr},
        {L"/applyelevated:1,1,1,1,1,1", nullptr},
        {L"/ApplyElevated", nullptr},
        {L"/RunAs", nullptr},
        {L"", nullptr},
        {nullptr, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected ? row.expected : "none");
        HandOver handOver;
        const bool bRead = ParseHandOver(row.tail, &handOver);
        ASSERT_EQ(bRead, row.expected != nullptr) << (row.tail ? "" : "(null)");
        if (!bRead) {
            continue;
        }
        std::string text = std::to_string(handOver.nWindow) + "," + std::to_string(handOver.nProcess);
        for (int32_t value : handOver.values) {
            text += "," + std::to_string(value);
        }
        EXPECT_EQ(text, row.expected);
        // What is written is read back the same, and no existing switch takes it.
        wchar_t szWritten[kHandOverChars];
        FormatHandOver(handOver, szWritten);
        EXPECT_EQ(std::wstring(szWritten), std::wstring(row.tail));
        EXPECT_EQ(Choose(2, szWritten), StartAction::ShowDialog);
    }
}
