#include <gtest/gtest.h>

#include "geometry/anchor_grid.h"
#include "geometry/field_text.h"
#include "geometry/placement.h"
#include "res/resource.h"

namespace {

FieldValue V(int32_t v) { return MakeFieldValue(true, v); }
const FieldValue kAbsent{};

::testing::AssertionResult RectIs(const RECT& rc, int32_t l, int32_t t, int32_t r, int32_t b) {
    if (rc.left == l && rc.top == t && rc.right == r && rc.bottom == b) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", "
                                         << rc.bottom << ") instead of (" << l << ", " << t << ", " << r << ", "
                                         << b << ")";
}

TEST(FieldRect, TypedValuesAndFallbacksToTheCurrentRectangle) {
    const RECT c = {10, 20, 310, 420};
    EXPECT_TRUE(RectIs(ComputeFieldRect(V(800), V(600), V(100), V(50), c), 100, 50, 900, 650));
    // An empty X keeps C.left with the typed width.
    EXPECT_TRUE(RectIs(ComputeFieldRect(V(800), V(600), kAbsent, V(50), c), 10, 50, 810, 650));
    EXPECT_TRUE(RectIs(ComputeFieldRect(kAbsent, kAbsent, kAbsent, kAbsent, c), 10, 20, 310, 420));
    // Nothing is normalised here.
    EXPECT_TRUE(RectIs(ComputeFieldRect(V(-50), V(10), V(100), V(0), c), 100, 0, 50, 10));
}

TEST(FieldRect, RangeOfAcceptedValues) {
    EXPECT_TRUE(MakeFieldValue(true, 32767).valid);
    EXPECT_TRUE(MakeFieldValue(true, -32768).valid);
    EXPECT_FALSE(MakeFieldValue(true, 32768).valid);
    EXPECT_FALSE(MakeFieldValue(true, -32769).valid);
    EXPECT_FALSE(MakeFieldValue(false, 5).valid);
}

TEST(FieldRect, ExtremeCurrentRectanglesSaturateInsteadOfWrapping) {
    const RECT huge = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const RECT f = ComputeFieldRect(kAbsent, kAbsent, V(32767), V(-32768), huge);
    EXPECT_EQ(f.left, 32767);
    EXPECT_EQ(f.right, INT32_MAX);
    EXPECT_EQ(f.top, -32768);
    EXPECT_EQ(f.bottom, INT32_MAX);
}

// Plain digits, and what a Japanese input method types in full-width mode.
TEST(FieldText, NumbersAsTheFieldsAcceptThem) {
    const struct {
        const wchar_t* text;
        int32_t value;
    } rows[] = {
        {L"640", 640},
        {L"  -1361 ", -1361},
        {L"32767", 32767},
        {L"-32768", -32768},
        {L"-0", 0},
        {L"\xFF11\xFF12\xFF18\xFF10", 1280},                     // "１２８０"
        {L"\xFF0D\xFF14\xFF10", -40},                            // "－４０"
        {L"\x2212\x0034\x0030", -40},                            // minus sign, plain digits
        {L"\x3000\xFF13\xFF12\xFF17\xFF16\xFF17\x3000", 32767},  // ideographic blanks
    };
    for (const auto& row : rows) {
        const FieldValue value = ParseFieldText(row.text);
        EXPECT_TRUE(value.valid) << row.value;
        EXPECT_EQ(value.value, row.value);
    }
}

TEST(FieldText, AnythingElseIsNotANumber) {
    for (const wchar_t* text : {L"", L"abc", L"12x", L"-", L"1 2", L"+5", L"32768", L"-32769",
                                L"99999999999999999999999", L"1.5", L"0x10",
                                L"\xFF13\xFF12\xFF17\xFF16\xFF18",  // "３２７６８" is out of range
                                L"\xFF0B\xFF15",                    // the full-width plus is not taken
                                L"\xFF11\x3000\xFF12", L"\x2212"}) {
        EXPECT_FALSE(ParseFieldText(text).valid) << "accepted: " << static_cast<int>(text[0]);
    }
    EXPECT_FALSE(ParseFieldText(nullptr).valid);
}

TEST(Normalize, SwapsReversedEdgesOnly) {
    EXPECT_TRUE(RectIs(NormalizeRect(RECT{100, 0, 50, 10}), 50, 0, 100, 10));
    EXPECT_TRUE(RectIs(NormalizeRect(RECT{0, 9, 5, -1}), 0, -1, 5, 9));
    EXPECT_TRUE(RectIs(NormalizeRect(RECT{3, 3, 3, 3}), 3, 3, 3, 3));
}

TEST(AlignedRects, WorkedExamples) {
    AlignedRects a = ComputeAlignedRects(RECT{100, 50, 900, 650}, RECT{0, 0, 1920, 1040});
    EXPECT_TRUE(RectIs(a.rcNear, 0, 0, 800, 600));
    EXPECT_TRUE(RectIs(a.rcCentre, 560, 220, 1360, 820));
    EXPECT_TRUE(RectIs(a.rcFar, 1120, 440, 1920, 1040));

    // A display left of the primary: every half truncates toward zero.
    a = ComputeAlignedRects(RECT{-1000, 50, -199, 650}, RECT{-1920, 0, 0, 1040});
    EXPECT_EQ(a.rcCentre.left, -1361);
    EXPECT_EQ(Half(-1921), -960);
    EXPECT_EQ(Quarter(-7), -1);
}

TEST(AlignedRects, ExtremeWorkAreasDoNotOverflow) {
    const RECT wa = {INT32_MAX - 10, INT32_MAX - 10, INT32_MAX, INT32_MAX};
    const AlignedRects a = ComputeAlignedRects(RECT{-32768, -32768, 32767, 32767}, wa);
    EXPECT_EQ(a.rcNear.left, INT32_MAX - 10);
    EXPECT_LE(a.rcCentre.left, a.rcCentre.right);
    EXPECT_EQ(a.rcFar.right, INT32_MAX);
}

struct PresetCase {
    int id;
    int32_t value;
};

TEST(Presets, SizePresetsWriteOnlyTheirFieldAndFocusIt) {
    const RECT f = {100, 50, 900, 650};
    const RECT c = {10, 20, 310, 420};
    const RECT d = {26, 26, 986, 626};
    const RECT wa = {0, 0, 1919, 1039};
    const PresetCase cases[] = {
        {1010, 300}, {1011, 960}, {1012, 1919}, {1013, 959}, {1014, 479},
        {1020, 400}, {1021, 600}, {1022, 1039}, {1023, 519}, {1024, 259},
    };
    for (const PresetCase& pc : cases) {
        SCOPED_TRACE(pc.id);
        const PresetResult r = ComputePreset(pc.id, f, c, d, wa);
        ASSERT_TRUE(r.bHandled);
        ASSERT_EQ(r.nWrites, 1);
        EXPECT_EQ(r.writes[0].nFieldId, pc.id / 10 * 10);
        EXPECT_EQ(r.writes[0].nValue, pc.value);
        EXPECT_EQ(r.nFocusFieldId, pc.id / 10 * 10);
    }
}

TEST(Presets, PositionPresetsRewriteWidthAndHeightFirst) {
    const RECT f = {100, 50, 900, 650};
    const RECT c = {10, 20, 310, 420};
    const RECT d = {26, 27, 986, 626};
    const RECT wa = {0, 0, 1920, 1040};
    const PresetCase cases[] = {
        {1030, 10}, {1031, 26}, {1032, 0}, {1033, 560}, {1034, 1120},
        {1040, 20}, {1041, 27}, {1042, 0}, {1043, 220}, {1044, 440},
    };
    for (const PresetCase& pc : cases) {
        SCOPED_TRACE(pc.id);
        const PresetResult r = ComputePreset(pc.id, f, c, d, wa);
        ASSERT_TRUE(r.bHandled);
        ASSERT_EQ(r.nWrites, 3);
        EXPECT_EQ(r.writes[0].nFieldId, IDC_WIDTH);
        EXPECT_EQ(r.writes[0].nValue, 800);
        EXPECT_EQ(r.writes[1].nFieldId, IDC_HEIGHT);
        EXPECT_EQ(r.writes[1].nValue, 600);
        EXPECT_EQ(r.writes[2].nFieldId, pc.id / 10 * 10);
        EXPECT_EQ(r.writes[2].nValue, pc.value);
        EXPECT_EQ(r.nFocusFieldId, pc.id / 10 * 10);
    }
}

TEST(Presets, RightUsesTheUnnormalisedFieldRectangle) {
    // Width -50 at X 100: "Right" writes WA.right + 50.
    const RECT f = ComputeFieldRect(V(-50), V(600), V(100), V(50), RECT{});
    const PresetResult r = ComputePreset(1034, f, RECT{}, RECT{}, RECT{0, 0, 1920, 1040});
    EXPECT_EQ(r.writes[0].nValue, -50);
    EXPECT_EQ(r.writes[2].nValue, 1970);
}

TEST(Presets, AnchorsWriteAllFourFieldsWithoutFocus) {
    const RECT f = {100, 50, 900, 650};
    const RECT wa = {0, 0, 1920, 1040};
    struct {
        int id;
        int32_t x, y;
    } cases[] = {
        {IDC_ANCHOR_TOPLEFT, 0, 0},       {IDC_ANCHOR_TOP, 560, 0},       {IDC_ANCHOR_TOPRIGHT, 1120, 0},
        {IDC_ANCHOR_LEFT, 0, 220},        {IDC_ANCHOR_CENTER, 560, 220},  {IDC_ANCHOR_RIGHT, 1120, 220},
        {IDC_ANCHOR_BOTTOMLEFT, 0, 440},  {IDC_ANCHOR_BOTTOM, 560, 440},  {IDC_ANCHOR_BOTTOMRIGHT, 1120, 440},
    };
    for (const auto& ac : cases) {
        SCOPED_TRACE(ac.id);
        const PresetResult r = ComputePreset(ac.id, f, RECT{}, RECT{}, wa);
        ASSERT_TRUE(r.bHandled);
        ASSERT_EQ(r.nWrites, 4);
        const int ids[4] = {IDC_WIDTH, IDC_HEIGHT, IDC_X, IDC_Y};
        const int32_t values[4] = {800, 600, ac.x, ac.y};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(r.writes[i].nFieldId, ids[i]);
            EXPECT_EQ(r.writes[i].nValue, values[i]);
        }
        EXPECT_EQ(r.nFocusFieldId, 0);
    }
}

TEST(Presets, OtherIdsAreNotHandled) {
    const RECT r0 = {};
    for (int id : {0, 1, 2, 1000, 1001, 1009, 1015, 1019, 1025, 1029, 1035, 1039, 1045, 1050, 1059, 1069, 288}) {
        EXPECT_FALSE(ComputePreset(id, r0, r0, r0, r0).bHandled) << id;
    }
}

TEST(WindowPos, WithoutMeasurementsTheRectangleIsAppliedAsItIs) {
    const RECT a = {-1900, 10, -900, 610};
    const RECT w = {0, 0, 10, 10};
    for (const WindowPos& pos : {ComputeWindowPos(a, nullptr, nullptr), ComputeWindowPos(a, &w, nullptr)}) {
        EXPECT_EQ(pos.x, -1900);
        EXPECT_EQ(pos.y, 10);
        EXPECT_EQ(pos.cx, 1000);
        EXPECT_EQ(pos.cy, 600);
    }
}

TEST(WindowPos, FrameLargerThanTheWindowNeverGivesANegativeSize) {
    const RECT a = {0, 0, 10, 10};
    const RECT w = {100, 100, 110, 110};
    const RECT e = {90, 90, 150, 150};
    const WindowPos pos = ComputeWindowPos(a, &w, &e);
    EXPECT_EQ(pos.cx, 0);
    EXPECT_EQ(pos.cy, 0);
    EXPECT_EQ(pos.x, 10);
}

TEST(AnchorGrid, PacksRowsAndColumnsEdgeToEdge) {
    // Rounding of dialog units leaves gaps and overlaps of a pixel here and there.
    RECT rects[9];
    const int xs[3] = {400, 416, 431};
    const int ys[3] = {300, 317, 333};
    const int sizes[3] = {16, 15, 17};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            rects[r * 3 + c] = RECT{xs[c], ys[r], xs[c] + sizes[c], ys[r] + sizes[r]};
        }
    }
    PackAnchorGrid(rects);
    EXPECT_TRUE(RectIs(rects[0], 400, 300, 416, 316));
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const RECT& rc = rects[r * 3 + c];
            EXPECT_EQ(rc.right - rc.left, sizes[c]);
            EXPECT_EQ(rc.bottom - rc.top, sizes[r]);
            if (c > 0) {
                EXPECT_EQ(rc.left, rects[r * 3 + c - 1].right);
            } else {
                EXPECT_EQ(rc.left, 400);
            }
            if (r > 0) {
                EXPECT_EQ(rc.top, rects[(r - 1) * 3 + c].bottom);
            } else {
                EXPECT_EQ(rc.top, 300);
            }
        }
    }
}

}  // namespace
