#include <gtest/gtest.h>

#include "base/hresult.h"
#include "base/number_text.h"

namespace {

TEST(HResult, Win32ErrorsMapIntoFacilityWin32) {
    EXPECT_EQ(HResultFromWin32(0), 0);
    EXPECT_EQ(static_cast<uint32_t>(HResultFromWin32(2)), 0x80070002u);
    EXPECT_EQ(static_cast<uint32_t>(HResultFromWin32(122)), 0x8007007Au);
    EXPECT_EQ(static_cast<uint32_t>(HResultFromWin32(1223)), 0x800704C7u);
    // Only the low 16 bits of the code survive.
    EXPECT_EQ(static_cast<uint32_t>(HResultFromWin32(0x12345)), 0x80072345u);
    // An HRESULT passed in already stays as it is.
    EXPECT_EQ(HResultFromWin32(static_cast<int32_t>(0x80004005u)), static_cast<int32_t>(0x80004005u));
}

TEST(HResult, FailuresAreNeverSuccess) {
    // A failed call that left no last error (a dialog that could not be made).
    EXPECT_EQ(static_cast<uint32_t>(HResultFromFailedCall(0)), 0x80004005u);
    EXPECT_EQ(static_cast<uint32_t>(HResultFromFailedCall(1813)), 0x80070715u);
    EXPECT_EQ(static_cast<uint32_t>(HResultFromFailedShellExecute(2, 42)), 0x80070002u);
    // No last error: the meaning of the shell's own code, or E_FAIL when it has none.
    const struct {
        intptr_t shellCode;
        uint32_t hr;
    } cases[] = {{2, 0x80070002u},  {3, 0x80070003u},  {5, 0x80070005u},  {8, 0x80070008u},  {11, 0x8007000Bu},
                 {26, 0x80070020u}, {27, 0x80070483u}, {28, 0x80070484u}, {29, 0x80070484u}, {30, 0x80070484u},
                 {31, 0x80070483u}, {32, 0x80070485u}, {0, 0x80004005u},  {7, 0x80004005u},  {33, 0x80004005u}};
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<uint32_t>(HResultFromFailedShellExecute(0, c.shellCode)), c.hr) << c.shellCode;
    }
}

TEST(HResult, ErrorTextLosesTrailingLineBreaksOnly) {
    EXPECT_EQ(TrimTrailingLineBreaks(L"File not found.\r\n"), L"File not found.");
    EXPECT_EQ(TrimTrailingLineBreaks(L"a\r\nb\n\r\n"), L"a\r\nb");
    EXPECT_EQ(TrimTrailingLineBreaks(L"\r\n"), L"");
    EXPECT_EQ(TrimTrailingLineBreaks(L"no break "), L"no break ");
}

TEST(HResult, UnknownCodesShowEightLowerCaseDigits) {
    wchar_t text[kUnknownHResultChars];
    FormatUnknownHResult(static_cast<int32_t>(0x8007ABCDu), text);
    EXPECT_STREQ(text, L"HRESULT 0x8007abcd");
    FormatUnknownHResult(0x2A, text);
    EXPECT_STREQ(text, L"HRESULT 0x0000002a");
}

TEST(NumberText, DecimalAndHexWithoutPrintf) {
    EXPECT_EQ(DecimalText(0).View(), L"0");
    EXPECT_EQ(DecimalText(-1361).View(), L"-1361");
    EXPECT_EQ(DecimalText(32767).View(), L"32767");
    EXPECT_EQ(DecimalText(INT64_MIN).View(), L"-9223372036854775808");
    EXPECT_EQ(DecimalText(int64_t{INT32_MAX} - INT32_MIN).View(), L"4294967295");
    EXPECT_EQ(HexText(0x409, 4).View(), L"0409");
    EXPECT_EQ(HexText(0x80070002u, 8).View(), L"80070002");
    EXPECT_EQ(HexText(0, 1).View(), L"0");
    EXPECT_EQ(HexText(0xABCDEF12u, 2).View(), L"abcdef12");
}

}  // namespace
