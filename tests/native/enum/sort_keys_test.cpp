#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "enum/sort_keys.h"

namespace {

// Stands in for the platform's number parser: plain decimal, nothing else.
bool ParseDecimal(const wchar_t* psz, int32_t* pValue) {
    wchar_t* end = nullptr;
    const long v = std::wcstol(psz, &end, 10);
    if (end == psz || *end != L'\0') {
        return false;
    }
    *pValue = static_cast<int32_t>(v);
    return true;
}

TEST(SortKeys, TextKeysKeepThirtyOneCharacters) {
    const std::wstring a = L"A window title that is long enough: one";
    const std::wstring b = L"A window title that is long enough: two";
    EXPECT_EQ(MakeTextKey(a.c_str()).size(), 31u);
    // Titles that agree in their first 31 characters compare equal.
    EXPECT_EQ(MakeTextKey(a.c_str()), MakeTextKey(b.c_str()));
    EXPECT_EQ(MakeTextKey(L"short"), L"short");
    EXPECT_EQ(MakeTextKey(L""), L"");
    EXPECT_EQ(MakeTextKey(nullptr), L"");
    const std::wstring huge(10000, L'\x3042');
    EXPECT_EQ(MakeTextKey(huge.c_str()), std::wstring(31, L'\x3042'));
}

TEST(SortKeys, IntegerKeysCompareNumerically) {
    const int32_t minus8 = MakeIntegerKey(L"-8", ParseDecimal);
    const int32_t hundred = MakeIntegerKey(L"100", ParseDecimal);
    const int32_t twenty = MakeIntegerKey(L"20", ParseDecimal);
    EXPECT_EQ(CompareIntegerKeys(minus8, hundred), -1);
    EXPECT_EQ(CompareIntegerKeys(hundred, twenty), 1);
    EXPECT_EQ(CompareIntegerKeys(twenty, twenty), 0);
}

TEST(SortKeys, EmptyAndUnparsableCellsCountAsZero) {
    int calls = 0;
    auto counting = [&calls](const wchar_t* psz, int32_t* pValue) {
        ++calls;
        return ParseDecimal(psz, pValue);
    };
    EXPECT_EQ(MakeIntegerKey(L"", counting), 0);
    EXPECT_EQ(calls, 0);  // an empty cell is not even parsed
    EXPECT_EQ(MakeIntegerKey(nullptr, counting), 0);
    EXPECT_EQ(MakeIntegerKey(L"12x", counting), 0);
    EXPECT_EQ(MakeIntegerKey(L"abc", counting), 0);
    EXPECT_EQ(MakeIntegerKey(L"-32768", counting), -32768);
}

TEST(SortKeys, DescendingNegatesTheComparison) {
    EXPECT_EQ(ApplySortDirection(-1, false), -1);
    EXPECT_EQ(ApplySortDirection(-1, true), 1);
    EXPECT_EQ(ApplySortDirection(0, true), 0);
}

TEST(HeaderClick, RepeatingTheAscendingColumnReverses) {
    EXPECT_TRUE(DescendingAfterHeaderClick(0, 0, false));
    // A third click on the same column goes back to ascending.
    EXPECT_FALSE(DescendingAfterHeaderClick(0, 0, true));
    // Another column always starts ascending, whatever the current direction.
    EXPECT_FALSE(DescendingAfterHeaderClick(1, 0, false));
    EXPECT_FALSE(DescendingAfterHeaderClick(1, 0, true));
    EXPECT_FALSE(DescendingAfterHeaderClick(0, -1, false));
}

}  // namespace
