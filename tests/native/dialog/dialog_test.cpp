#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dialog/about_text.h"
#include "dialog/dlginit.h"
#include "dialog/layout.h"
#include "dialog/reticle_track.h"

namespace {

std::vector<DlgInitEntry> Parse(const void* pData, size_t nSize) {
    CPodArray<DlgInitEntry> entries;
    EXPECT_TRUE(ParseDlgInit(pData, nSize, &entries));
    return std::vector<DlgInitEntry>(entries.begin(), entries.end());
}

std::wstring About(std::wstring_view name, std::wstring_view version, std::wstring_view copyright) {
    CWideString text;
    EXPECT_TRUE(FormatAboutText(name, version, copyright, &text));
    return std::wstring(text.View());
}

TEST(Centring, CentresWithHalvesTruncatedTowardZero) {
    const RECT area = {0, 0, 1280, 800};
    POINT pt = ComputeCentredTopLeft(area, area, 501, 301);
    EXPECT_EQ(pt.x, 640 - 250);
    EXPECT_EQ(pt.y, 400 - 150);
    // A reference at negative coordinates: (-1921 + -1) / 2 truncates to -961.
    const RECT left = {-1921, -11, -1, 9};
    pt = ComputeCentredTopLeft(left, RECT{-5000, -5000, 5000, 5000}, 11, 3);
    EXPECT_EQ(pt.x, -961 - 5);
    EXPECT_EQ(pt.y, -1 - 1);
}

TEST(Centring, PushedIntoTheAreaLeftAndTopWin) {
    const RECT area = {100, 50, 400, 250};
    // Sticks out right and bottom: moved back to the edge.
    POINT pt = ComputeCentredTopLeft(RECT{350, 220, 450, 260}, area, 100, 40);
    EXPECT_EQ(pt.x, 300);
    EXPECT_EQ(pt.y, 210);
    // Larger than the area: the left and top edges win.
    pt = ComputeCentredTopLeft(area, area, 500, 400);
    EXPECT_EQ(pt.x, 100);
    EXPECT_EQ(pt.y, 50);
}

TEST(ContextMenuPoint, SignedHalvesOfLParam) {
    const RECT rc = {10, 20, 110, 220};
    POINT pt = ContextMenuPoint(0x00C80064u, rc);
    EXPECT_EQ(pt.x, 100);
    EXPECT_EQ(pt.y, 200);
    // A display left of and above the primary gives negative halves.
    pt = ContextMenuPoint((static_cast<uint32_t>(static_cast<uint16_t>(-20)) << 16) |
                              static_cast<uint16_t>(-1500),
                          rc);
    EXPECT_EQ(pt.x, -1500);
    EXPECT_EQ(pt.y, -20);
    // Only x = -1 is a real point, not the keyboard case.
    pt = ContextMenuPoint(0x0005FFFFu, rc);
    EXPECT_EQ(pt.x, -1);
    EXPECT_EQ(pt.y, 5);
}

TEST(ContextMenuPoint, KeyboardUsesTheCentreOfTheWindow) {
    POINT pt = ContextMenuPoint(0xFFFFFFFFu, RECT{10, 20, 111, 221});
    EXPECT_EQ(pt.x, 60);
    EXPECT_EQ(pt.y, 120);
    pt = ContextMenuPoint(0xFFFFFFFFu, RECT{-301, -101, 0, 0});
    EXPECT_EQ(pt.x, -150);
    EXPECT_EQ(pt.y, -50);
}

TEST(ContextMenuPoint, OffDisplayXIsClampedIntoTheWorkArea) {
    const RECT wa = {0, 0, 1280, 770};
    EXPECT_EQ(ClampIntoWorkArea(-40, wa), 0);
    EXPECT_EQ(ClampIntoWorkArea(1500, wa), 1280);
    EXPECT_EQ(ClampIntoWorkArea(640, wa), 640);
}

std::vector<unsigned char> Entry(uint16_t id, uint16_t msg, const std::string& text, bool withZero = true) {
    std::vector<unsigned char> out(8);
    const uint32_t len = static_cast<uint32_t>(text.size() + (withZero ? 1 : 0));
    std::memcpy(&out[0], &id, 2);
    std::memcpy(&out[2], &msg, 2);
    std::memcpy(&out[4], &len, 4);
    out.insert(out.end(), text.begin(), text.end());
    if (withZero) {
        out.push_back(0);
    }
    return out;
}

TEST(DlgInit, ReadsEntriesUntilControlIdZero) {
    std::vector<unsigned char> data = Entry(1010, 0x0403, "Preserve");
    auto second = Entry(1020, 0x1234, "Full");
    data.insert(data.end(), second.begin(), second.end());
    data.push_back(0);
    data.push_back(0);
    auto ignored = Entry(1030, 0x0403, "after the end");
    data.insert(data.end(), ignored.begin(), ignored.end());

    auto entries = Parse(data.data(), data.size());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].nControlId, 1010);
    EXPECT_EQ(entries[0].nMessage, 0x0403);
    EXPECT_EQ(std::string(entries[0].pData, entries[0].nLength), std::string("Preserve", 9));
    EXPECT_EQ(entries[1].nMessage, 0x1234);
}

TEST(DlgInit, TruncatedDataEndsTheListInsteadOfOverrunning) {
    std::vector<unsigned char> data = Entry(1010, 0x0403, "Preserve");
    auto second = Entry(1020, 0x0403, "Quarter");
    data.insert(data.end(), second.begin(), second.end());
    // Cut the second entry's text short: its length now claims more than there is.
    data.resize(data.size() - 3);
    auto entries = Parse(data.data(), data.size());
    ASSERT_EQ(entries.size(), 1u);
    // A header cut in half, and no data at all.
    EXPECT_EQ(Parse(data.data(), 5).size(), 0u);
    EXPECT_EQ(Parse(nullptr, 100).size(), 0u);
}

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DlgInit, ShippedDataHoldsTwentyPresetsInFieldOrder) {
    const char* expected[2][20] = {
        {"Preserve", "Default", "Full", "Half", "Quarter", "Preserve", "Default", "Full", "Half", "Quarter",
         "Preserve", "Default", "Left", "Center", "Right", "Preserve", "Default", "Top", "Center", "Bottom"},
        // Shift-JIS: 現在値 既定値 全画面 二分割 四分割 ..., 左詰め 中央揃え 右詰め, 上詰め 中央揃え 下詰め
        {"\x8c\xbb\x8d\xdd\x92\x6c", "\x8a\xf9\x92\xe8\x92\x6c", "\x91\x53\x89\xe6\x96\xca",
         "\x93\xf1\x95\xaa\x8a\x84", "\x8e\x6c\x95\xaa\x8a\x84", "\x8c\xbb\x8d\xdd\x92\x6c",
         "\x8a\xf9\x92\xe8\x92\x6c", "\x91\x53\x89\xe6\x96\xca", "\x93\xf1\x95\xaa\x8a\x84",
         "\x8e\x6c\x95\xaa\x8a\x84", "\x8c\xbb\x8d\xdd\x92\x6c", "\x8a\xf9\x92\xe8\x92\x6c",
         "\x8d\xb6\x8b\x6c\x82\xdf", "\x92\x86\x89\x9b\x91\xb5\x82\xa6", "\x89\x45\x8b\x6c\x82\xdf",
         "\x8c\xbb\x8d\xdd\x92\x6c", "\x8a\xf9\x92\xe8\x92\x6c", "\x8f\xe3\x8b\x6c\x82\xdf",
         "\x92\x86\x89\x9b\x91\xb5\x82\xa6", "\x89\xba\x8b\x6c\x82\xdf"},
    };
    const char* files[2] = {"/res/dlginit_en.bin", "/res/dlginit_ja.bin"};
    for (int lang = 0; lang < 2; ++lang) {
        SCOPED_TRACE(files[lang]);
        const auto data = ReadFile(std::string(KELPO_SOURCE_DIR) + files[lang]);
        const auto entries = Parse(data.data(), data.size());
        ASSERT_EQ(entries.size(), 20u);
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(entries[i].nControlId, 1010 + 10 * (i / 5));
            EXPECT_EQ(entries[i].nMessage, kDlgInitAddString16);
            EXPECT_EQ(std::string(entries[i].pData, entries[i].nLength), std::string(expected[lang][i]) + '\0');
        }
    }
}

// Records what the hover bookkeeping asks of the site and of the flashing.
struct RecordingOps {
    std::string log;
    std::vector<int> accepted;
    bool Enter(int h) {
        log += "enter" + std::to_string(h) + " ";
        for (int a : accepted) {
            if (a == h) return true;
        }
        return false;
    }
    void Leave(int h) { log += "leave" + std::to_string(h) + " "; }
    void StartFlash(int h) { log += "flash" + std::to_string(h) + " "; }
    void StopFlash(int h) { log += "stop" + std::to_string(h) + " "; }
};

TEST(ReticleHover, EnterLeaveAndFlashAcrossWindows) {
    RecordingOps ops;
    ops.accepted = {1, 3};
    int hover = 0;
    int flash = 0;
    TrackHover(1, hover, flash, ops);
    TrackHover(1, hover, flash, ops);  // moving within one window does nothing more
    TrackHover(2, hover, flash, ops);  // not pickable: entered and left, never flashed
    TrackHover(0, hover, flash, ops);  // over no window
    TrackHover(3, hover, flash, ops);
    EXPECT_EQ(ops.log, "enter1 flash1 stop1 leave1 enter2 leave2 enter3 flash3 ");
    EXPECT_EQ(hover, 3);
    EXPECT_EQ(flash, 3);

    // The end of a drag stops the flashing but calls no Leave, and clears everything.
    ops.log.clear();
    EndHover(hover, flash, ops);
    EXPECT_EQ(ops.log, "stop3 ");
    EXPECT_EQ(hover, 0);
    EXPECT_EQ(flash, 0);
    EndHover(hover, flash, ops);
    EXPECT_EQ(ops.log, "stop3 ");
}

TEST(ReticleHover, EndOverAWindowThatWasNotAcceptedStopsNothing) {
    RecordingOps ops;
    int hover = 0;
    int flash = 0;
    TrackHover(7, hover, flash, ops);
    EndHover(hover, flash, ops);
    EXPECT_EQ(ops.log, "enter7 ");
    EXPECT_EQ(hover, 0);
}

TEST(ReticleHover, GrabPointIsTheDrawnCentre) {
    const POINT pt = ReticleGrabPoint(RECT{-40, 300, -8, 332}, POINT{16, 16});
    EXPECT_EQ(pt.x, -24);
    EXPECT_EQ(pt.y, 316);
}

TEST(AboutText, ChoosesTheUsersTableOnlyWhenItIsTheSecond) {
    const Translation both[2] = {{0x0409, 0x04B0}, {0x0411, 0x04B0}};
    EXPECT_EQ(ChooseTranslation(both, 2, 0x0411).wLanguage, 0x0411);
    EXPECT_EQ(ChooseTranslation(both, 2, 0x0407).wLanguage, 0x0409);
    EXPECT_EQ(ChooseTranslation(both, 1, 0x0411).wLanguage, 0x0409);
    const Translation none = ChooseTranslation(nullptr, 0, 0x0411);
    EXPECT_EQ(none.wLanguage, 0x0409);
    EXPECT_EQ(none.wCodePage, 0x04B0);
    EXPECT_EQ(VersionQueryPath(both[1], L"ProductName").View(), L"\\StringFileInfo\\041104b0\\ProductName");
}

TEST(AboutText, TwoLinesAndMissingPartsLeftOutCleanly) {
    EXPECT_EQ(About(L"Ovrin's Window Resizer", L"1.2.0", L"Copyright (C) 2026 Ovrin Tools"),
              L"Ovrin's Window Resizer 1.2.0\nCopyright (C) 2026 Ovrin Tools");
    EXPECT_EQ(About(L"Name", L"", L"(C)"), L"Name\n(C)");
    EXPECT_EQ(About(L"", L"1.2.0", L""), L"1.2.0");
    EXPECT_EQ(About(L"", L"", L"(C)"), L"(C)");
    EXPECT_EQ(About(L"", L"", L""), L"");
}

}  // namespace
