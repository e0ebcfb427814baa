// Checks the compiled resources byte by byte against what the program and the
// shell read from them: templates, strings, menu, accelerators, icons, cursor,
// manifest, version and the registration script.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "res/version.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Reader {
public:
    Reader(const unsigned char* p, size_t n) : m_p(p), m_n(n) {}
    size_t pos = 0;
    bool ok = true;
    uint16_t U16() { return static_cast<uint16_t>(Take(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Take(4)); }
    int16_t S16() { return static_cast<int16_t>(U16()); }
    uint8_t U8() { return static_cast<uint8_t>(Take(1)); }
    void Align(size_t a) { pos = (pos + a - 1) / a * a; }
    std::u16string Str() {
        std::u16string s;
        while (ok) {
            uint16_t ch = U16();
            if (ch == 0) break;
            s.push_back(static_cast<char16_t>(ch));
        }
        return s;
    }
    // A string or, after 0xFFFF, an ordinal (returned as "#n").
    std::u16string StrOrOrd() {
        size_t save = pos;
        if (U16() == 0xFFFF) {
            std::string n = "#" + std::to_string(U16());
            return std::u16string(n.begin(), n.end());
        }
        pos = save;
        return Str();
    }

private:
    uint64_t Take(size_t k) {
        if (pos + k > m_n) {
            ok = false;
            pos = m_n;
            return 0;
        }
        uint64_t v = 0;
        for (size_t i = 0; i < k; ++i) v |= uint64_t{m_p[pos + i]} << (8 * i);
        pos += k;
        return v;
    }
    const unsigned char* m_p;
    size_t m_n;
};

std::u16string U(const char* utf8) {
    // Enough UTF-8 decoding for the resource texts.
    std::u16string out;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    while (*s) {
        uint32_t cp;
        if (*s < 0x80) {
            cp = *s++;
        } else if ((*s & 0xE0) == 0xC0) {
            cp = (*s++ & 0x1F) << 6;
            cp |= (*s++ & 0x3F);
        } else {
            cp = (*s++ & 0x0F) << 12;
            cp |= (*s++ & 0x3F) << 6;
            cp |= (*s++ & 0x3F);
        }
        out.push_back(static_cast<char16_t>(cp));
    }
    return out;
}

struct Resource {
    std::u16string type;
    std::u16string name;
    uint16_t lang;
    Bytes data;
};

class CompiledResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const Bytes file = ReadFile(KELPO_TEST_RES);
        ASSERT_FALSE(file.empty());
        Reader r(file.data(), file.size());
        while (r.pos + 8 <= file.size()) {
            const size_t start = r.pos;
            const uint32_t dataSize = r.U32();
            const uint32_t headerSize = r.U32();
            Resource res;
            res.type = r.StrOrOrd();
            res.name = r.StrOrOrd();
            r.Align(4);
            r.U32();
            r.U16();
            res.lang = r.U16();
            ASSERT_TRUE(r.ok);
            const size_t dataStart = start + headerSize;
            ASSERT_LE(dataStart + dataSize, file.size());
            res.data.assign(file.begin() + dataStart, file.begin() + dataStart + dataSize);
            if (!res.type.empty() || dataSize != 0) {
                s_resources->push_back(res);
            }
            r.pos = dataStart + dataSize;
            r.Align(4);
        }
    }

    static const Resource* Find(const char* type, const char* name, int lang) {
        const std::u16string t = U(type);
        const std::u16string n = U(name);
        for (const Resource& res : *s_resources) {
            if (res.type == t && res.name == n && (lang < 0 || res.lang == lang)) return &res;
        }
        return nullptr;
    }

    static std::u16string String(int id, int lang) {
        const Resource* block = Find("#6", ("#" + std::to_string(id / 16 + 1)).c_str(), lang);
        if (block == nullptr) return u"<missing block>";
        Reader r(block->data.data(), block->data.size());
        for (int i = 0; i < 16; ++i) {
            const uint16_t len = r.U16();
            std::u16string s;
            for (int k = 0; k < len; ++k) s.push_back(static_cast<char16_t>(r.U16()));
            if (i == id % 16) return s;
        }
        return u"<missing string>";
    }

    static std::vector<Resource>* s_resources;
};
std::vector<Resource>* CompiledResources::s_resources = new std::vector<Resource>();

constexpr int kEn = 1033;
constexpr int kJa = 1041;

// The dialog manager takes predefined classes by ordinal or by name, in any case.
std::u16string ClassName(std::u16string cls) {
    if (cls == u"#128") return u"BUTTON";
    if (cls == u"#130") return u"STATIC";
    if (cls == u"#133") return u"COMBOBOX";
    for (char16_t& ch : cls) {
        if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
    return cls;
}

struct ControlSpec {
    int id;
    const char* cls;
    uint32_t style;
    uint32_t exStyle;
    const char* en;
    const char* ja;
    int rect[3][4];
};

const ControlSpec kControls[] = {
    {-1, "STATIC", 0x50020000, 0, "&Display:", "ディスプレイ(&D):", {{7, 7, 28, 8}, {7, 7, 44, 8}, {7, 7, 44, 8}}},
    {1002, "COMBOBOX", 0x50210003, 0, "", "", {{39, 4, 283, 112}, {55, 4, 253, 112}, {55, 5, 262, 112}}},
    {1003, "SysListView32", 0x5081080D, 0, "", "", {{7, 22, 315, 101}, {7, 22, 301, 109}, {7, 22, 310, 96}}},
    {-1, "BUTTON", 0x50000007, 0x20, "Finder", "選択", {{7, 130, 32, 50}, {7, 138, 32, 50}, {7, 125, 32, 50}}},
    {-1, "STATIC", 0x40000008, 0, "", "", {{7, 134, 32, 46}, {7, 142, 32, 46}, {7, 129, 32, 46}}},
    {1004, "STATIC", 0x50000003, 0, "", "", {{13, 147, 20, 20}, {13, 155, 20, 20}, {13, 142, 18, 17}}},
    {-1, "BUTTON", 0x50000007, 0x20, "Size", "サイズ", {{43, 130, 102, 50}, {43, 138, 95, 50}, {43, 125, 95, 50}}},
    {-1, "STATIC", 0x50020002, 0, "&Width:", "幅(&W):", {{48, 146, 28, 8}, {48, 154, 28, 8}, {48, 141, 28, 8}}},
    {1010, "COMBOBOX", 0x50210002, 0, "", "", {{80, 143, 48, 112}, {80, 151, 41, 112}, {80, 139, 41, 112}}},
    {1050, "msctls_updown32", 0x500000B2, 0, "", "", {{128, 143, 10, 14}, {121, 151, 10, 14}, {121, 139, 10, 14}}},
    {-1, "STATIC", 0x50020002, 0, "&Height:", "高さ(&H):", {{48, 162, 28, 8}, {48, 170, 28, 8}, {48, 157, 28, 8}}},
    {1020, "COMBOBOX", 0x50210002, 0, "", "", {{80, 159, 48, 112}, {80, 167, 41, 112}, {80, 155, 41, 112}}},
    {1051, "msctls_updown32", 0x500000B2, 0, "", "", {{128, 159, 10, 14}, {121, 167, 10, 14}, {121, 155, 10, 14}}},
    {-1, "BUTTON", 0x50000007, 0x20, "Position", "位置", {{149, 130, 116, 50}, {142, 138, 109, 50}, {142, 125, 109, 50}}},
    {-1, "STATIC", 0x50020002, 0, "&X:", "&X:", {{154, 146, 8, 8}, {147, 154, 8, 8}, {147, 141, 8, 8}}},
    {1030, "COMBOBOX", 0x50210002, 0, "", "", {{166, 143, 48, 112}, {159, 151, 41, 112}, {159, 139, 41, 112}}},
    {1052, "msctls_updown32", 0x500000B2, 0, "", "", {{214, 143, 10, 14}, {200, 151, 10, 14}, {200, 139, 10, 14}}},
    {-1, "STATIC", 0x50020002, 0, "&Y:", "&Y:", {{154, 162, 8, 8}, {147, 170, 8, 8}, {147, 157, 8, 8}}},
    {1040, "COMBOBOX", 0x50210002, 0, "", "", {{166, 159, 48, 112}, {159, 167, 41, 112}, {159, 155, 41, 112}}},
    {1053, "msctls_updown32", 0x500000B2, 0, "", "", {{214, 159, 10, 14}, {200, 167, 10, 14}, {200, 155, 10, 14}}},
    {1064, "BUTTON", 0x50000000, 0, "", "", {{228, 143, 10, 10}, {214, 151, 10, 10}, {214, 138, 10, 10}}},
    {1061, "BUTTON", 0x50000000, 0, "", "", {{238, 143, 10, 10}, {224, 151, 10, 10}, {224, 138, 10, 10}}},
    {1067, "BUTTON", 0x50000000, 0, "", "", {{248, 143, 10, 10}, {234, 151, 10, 10}, {234, 138, 10, 10}}},
    {1063, "BUTTON", 0x50000000, 0, "", "", {{228, 153, 10, 10}, {214, 161, 10, 10}, {214, 148, 10, 10}}},
    {1060, "BUTTON", 0x50000000, 0, "", "", {{238, 153, 10, 10}, {224, 161, 10, 10}, {224, 148, 10, 10}}},
    {1066, "BUTTON", 0x50000000, 0, "", "", {{248, 153, 10, 10}, {234, 161, 10, 10}, {234, 148, 10, 10}}},
    {1065, "BUTTON", 0x50000000, 0, "", "", {{228, 163, 10, 10}, {214, 171, 10, 10}, {214, 158, 10, 10}}},
    {1062, "BUTTON", 0x50000000, 0, "", "", {{238, 163, 10, 10}, {224, 171, 10, 10}, {224, 158, 10, 10}}},
    {1068, "BUTTON", 0x50000000, 0, "", "", {{248, 163, 10, 10}, {234, 171, 10, 10}, {234, 158, 10, 10}}},
    {2, "BUTTON", 0x50010000, 0, "&Close", "閉じる(&C)", {{272, 130, 50, 14}, {258, 138, 50, 14}, {257, 125, 60, 14}}},
    {1000, "BUTTON", 0x50010000, 0, "&Apply", "適用(&A)", {{272, 148, 50, 14}, {258, 156, 50, 14}, {257, 143, 60, 14}}},
    {1001, "BUTTON", 0x50010000, 0, "&Restore", "元に戻す(&R)", {{272, 166, 50, 14}, {258, 174, 50, 14}, {257, 161, 60, 14}}},
};

struct TemplateSpec {
    const char* name;
    int lang;
    int layout;  // 0 English, 1 Japanese 128, 2 Japanese 129
    int cx, cy;
    uint32_t style;
    int pointSize;
    const char* font;
    int charset;
};

const TemplateSpec kTemplates[] = {
    {"#128", kEn, 0, 329, 187, 0x92C800C8, 8, "MS Shell Dlg", 1},
    {"#129", kEn, 0, 329, 187, 0x92C800C8, 8, "MS Shell Dlg", 1},
    {"#128", kJa, 1, 315, 195, 0x92C800C0, 9, "MS UI Gothic", 128},
    {"#129", kJa, 2, 324, 181, 0x92C800C0, 9, "Yu Gothic UI", 128},
};

TEST_F(CompiledResources, DialogTemplatesMatchTheirTables) {
    for (const TemplateSpec& t : kTemplates) {
        SCOPED_TRACE(std::string(t.name) + " lang " + std::to_string(t.lang));
        const Resource* res = Find("#5", t.name, t.lang);
        ASSERT_NE(res, nullptr);
        Reader r(res->data.data(), res->data.size());
        EXPECT_EQ(r.U16(), 1);
        EXPECT_EQ(r.U16(), 0xFFFF);
        r.U32();
        EXPECT_EQ(r.U32(), 0x00040008u);
        EXPECT_EQ(r.U32(), t.style);
        const uint16_t count = r.U16();
        EXPECT_EQ(count, 32);
        EXPECT_EQ(r.S16(), 0);
        EXPECT_EQ(r.S16(), 0);
        EXPECT_EQ(r.S16(), t.cx);
        EXPECT_EQ(r.S16(), t.cy);
        EXPECT_EQ(r.StrOrOrd(), u"");  // no menu
        EXPECT_EQ(r.StrOrOrd(), u"");  // no class of its own
        EXPECT_EQ(r.Str(), u"Ovrin's Window Resizer");
        EXPECT_EQ(r.U16(), t.pointSize);
        r.U16();
        r.U8();
        EXPECT_EQ(r.U8(), t.charset);
        EXPECT_EQ(r.Str(), U(t.font));
        ASSERT_EQ(count, sizeof(kControls) / sizeof(kControls[0]));
        for (const ControlSpec& c : kControls) {
            SCOPED_TRACE("control " + std::to_string(c.id) + " " + c.en);
            r.Align(4);
            r.U32();
            EXPECT_EQ(r.U32(), c.exStyle);
            EXPECT_EQ(r.U32(), c.style);
            for (int k = 0; k < 4; ++k) EXPECT_EQ(r.S16(), c.rect[t.layout][k]);
            EXPECT_EQ(static_cast<int32_t>(r.U32()), c.id);
            EXPECT_EQ(ClassName(r.StrOrOrd()), ClassName(U(c.cls)));
            EXPECT_EQ(r.StrOrOrd(), U(t.lang == kEn ? c.en : c.ja));
            const uint16_t extra = r.U16();
            r.pos += extra;
        }
        EXPECT_TRUE(r.ok);
    }
}

TEST_F(CompiledResources, StringTablesInBothLanguages) {
    const struct {
        int id;
        const char* en;
        const char* ja;
    } strings[] = {
        {128, "Ovrin's Window Resizer", "Ovrin's Window Resizer"},
        {192, "Administrator: %1", "管理者: %1"},
        {256, "Resize Window", "ウィンドウ サイズの変更"},
        {257, "Resize Window (Administrator)", "ウィンドウ サイズの変更 (管理者)"},
        {272, "&About Ovrin's Window Resizer", "バージョン情報(&A)"},
        {512, "Title", "タイトル"},
        {513, "Width", "幅"},
        {514, "Height", "高さ"},
        {515, "X", "X"},
        {516, "Y", "Y"},
    };
    for (const auto& s : strings) {
        EXPECT_EQ(String(s.id, kEn), U(s.en)) << s.id;
        EXPECT_EQ(String(s.id, kJa), U(s.ja)) << s.id;
    }
}

TEST_F(CompiledResources, ContextMenuHoldsOneRefreshItem) {
    const char* texts[2] = {"Refresh\tF5", "最新の情報に更新\tF5"};
    const int langs[2] = {kEn, kJa};
    for (int i = 0; i < 2; ++i) {
        const Resource* res = Find("#4", "#128", langs[i]);
        ASSERT_NE(res, nullptr);
        Reader r(res->data.data(), res->data.size());
        EXPECT_EQ(r.U16(), 0);
        EXPECT_EQ(r.U16(), 0);
        EXPECT_EQ(r.U16(), 0x10 | 0x80);  // the only popup, and the last item
        EXPECT_EQ(r.Str(), u"");
        EXPECT_EQ(r.U16(), 0x80);  // the only item of the popup
        EXPECT_EQ(r.U16(), 288);
        EXPECT_EQ(r.Str(), U(texts[i]));
    }
}

TEST_F(CompiledResources, AcceleratorF5IsRefresh) {
    const Resource* res = Find("#9", "#128", -1);
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(res->lang, 0);
    ASSERT_EQ(res->data.size(), 8u);
    Reader r(res->data.data(), res->data.size());
    EXPECT_EQ(r.U16(), 0x01 | 0x02 | 0x80);  // FVIRTKEY | FNOINVERT, last entry
    EXPECT_EQ(r.U16(), 0x74);
    EXPECT_EQ(r.U16(), 288);
}

TEST_F(CompiledResources, IconGroupHasNineImages) {
    const Resource* res = Find("#14", "#128", -1);
    ASSERT_NE(res, nullptr);
    Reader r(res->data.data(), res->data.size());
    EXPECT_EQ(r.U16(), 0);
    EXPECT_EQ(r.U16(), 1);
    ASSERT_EQ(r.U16(), 9);
    const int sizes[9] = {48, 32, 24, 16, 256, 48, 32, 24, 16};
    const int bits[9] = {8, 8, 8, 8, 32, 32, 32, 32, 32};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(r.U8() == 0 ? 256 : 0, sizes[i] == 256 ? 256 : 0);
        r.U8();
        r.U8();
        r.U8();
        r.U16();
        EXPECT_EQ(r.U16(), bits[i]);
        r.U32();
        const uint16_t id = r.U16();
        const Resource* image = Find("#3", ("#" + std::to_string(id)).c_str(), -1);
        ASSERT_NE(image, nullptr);
        if (bits[i] == 32 && sizes[i] >= 32) {
            // Compressed: the PNG's own header gives the size.
            ASSERT_GE(image->data.size(), 24u);
            EXPECT_EQ(std::memcmp(image->data.data(), "\x89PNG", 4), 0);
            const auto* p = reinterpret_cast<const uint8_t*>(image->data.data()) + 16;
            EXPECT_EQ(p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3], sizes[i]);
        } else {
            Reader h(image->data.data(), image->data.size());
            EXPECT_EQ(h.U32(), 40u);
            EXPECT_EQ(static_cast<int>(h.U32()), sizes[i]);
            EXPECT_EQ(static_cast<int>(h.U32()), sizes[i] * 2);
            h.U16();
            EXPECT_EQ(h.U16(), bits[i]);
        }
    }
}

TEST_F(CompiledResources, FinderCursorHasTwoMonochromeImagesWithCentredHotspots) {
    const Resource* res = Find("#12", "#1004", -1);
    ASSERT_NE(res, nullptr);
    Reader r(res->data.data(), res->data.size());
    EXPECT_EQ(r.U16(), 0);
    EXPECT_EQ(r.U16(), 2);
    ASSERT_EQ(r.U16(), 2);
    const int sizes[2] = {32, 16};
    for (int size : sizes) {
        EXPECT_EQ(r.U16(), size);
        EXPECT_EQ(r.U16(), size * 2);
        EXPECT_EQ(r.U16(), 1);
        EXPECT_EQ(r.U16(), 1);  // monochrome
        r.U32();
        const uint16_t id = r.U16();
        const Resource* image = Find("#1", ("#" + std::to_string(id)).c_str(), -1);
        ASSERT_NE(image, nullptr);
        Reader h(image->data.data(), image->data.size());
        EXPECT_EQ(h.U16(), size / 2);
        EXPECT_EQ(h.U16(), size / 2);
        EXPECT_EQ(h.U32(), 40u);
    }
}

TEST_F(CompiledResources, ManifestAsksForCommonControlsSixAndPerMonitorV2) {
    const Resource* res = Find("#24", "#1", kEn);
    ASSERT_NE(res, nullptr);
    const std::string text(res->data.begin(), res->data.end());
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(text.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(text.find(">PerMonitorV2<"), std::string::npos);
    // Windows 10 must be listed, or the version test cannot see it.
    EXPECT_NE(text.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);
}

TEST_F(CompiledResources, DialogInitDataInBothLanguages) {
    EXPECT_EQ(Find("#240", "#128", kEn)->data, ReadFile(std::string(KELPO_SOURCE_DIR) + "/res/dlginit_en.bin"));
    EXPECT_EQ(Find("#240", "#128", kJa)->data, ReadFile(std::string(KELPO_SOURCE_DIR) + "/res/dlginit_ja.bin"));
}

// Finds the value of a key below StringFileInfo\<table>.
std::u16string VersionString(const Bytes& data, const std::u16string& table, const std::u16string& key) {
    std::u16string result = u"<missing>";
    std::function<void(size_t, size_t, std::vector<std::u16string>)> walk =
        [&](size_t start, size_t end, std::vector<std::u16string> path) {
            Reader r(data.data(), end);
            r.pos = start;
            while (r.ok && r.pos + 6 <= end) {
                const size_t blockStart = r.pos;
                const uint16_t len = r.U16();
                const uint16_t valueLen = r.U16();
                const uint16_t type = r.U16();
                const std::u16string name = r.Str();
                r.Align(4);
                if (len == 0) return;
                auto here = path;
                here.push_back(name);
                if (type == 1 && here.size() == 4 && here[1] == u"StringFileInfo" && here[2] == table &&
                    here[3] == key) {
                    result.clear();
                    for (int i = 0; i + 1 < valueLen; ++i) result.push_back(static_cast<char16_t>(r.U16()));
                }
                size_t childStart = r.pos + (type == 1 ? valueLen * 2 : valueLen);
                childStart = (childStart + 3) / 4 * 4;
                if (childStart < blockStart + len) walk(childStart, blockStart + len, here);
                r.pos = (blockStart + len + 3) / 4 * 4;
            }
        };
    walk(0, data.size(), {});
    return result;
}

TEST_F(CompiledResources, VersionResourceNamesTheProduct) {
    const Resource* res = Find("#16", "#1", -1);
    ASSERT_NE(res, nullptr);
    Reader r(res->data.data(), res->data.size());
    r.pos = 40;  // header and key "VS_VERSION_INFO", aligned
    EXPECT_EQ(r.U32(), 0xFEEF04BDu);
    r.U32();
    for (int i = 0; i < 2; ++i) {  // file and product version
        EXPECT_EQ(r.U32(), (KELPO_VERSION_MAJOR << 16u) | KELPO_VERSION_MINOR);
        EXPECT_EQ(r.U32(), KELPO_VERSION_PATCH << 16u);
    }
    EXPECT_EQ(r.U32(), 0x3Fu);
    EXPECT_EQ(r.U32(), 0u);
    EXPECT_EQ(r.U32(), 0x00040004u);  // VOS_NT_WINDOWS32
    EXPECT_EQ(r.U32(), 1u);           // VFT_APP
    for (const char16_t* table : {u"040904b0", u"041104b0"}) {
        EXPECT_EQ(VersionString(res->data, table, u"ProductName"), u"Ovrin's Window Resizer");
        EXPECT_EQ(VersionString(res->data, table, u"FileDescription"), u"Ovrin's Window Resizer");
        EXPECT_EQ(VersionString(res->data, table, u"ProductVersion"), u"" KELPO_VERSION_TEXT);
        EXPECT_EQ(VersionString(res->data, table, u"FileVersion"), u"" KELPO_VERSION_TEXT);
        EXPECT_EQ(VersionString(res->data, table, u"InternalName"), u"kelpo64");
        EXPECT_EQ(VersionString(res->data, table, u"OriginalFilename"), u"kelpo64.exe");
    }
    EXPECT_NE(VersionString(res->data, u"040904b0", u"CompanyName"),
              VersionString(res->data, u"041104b0", u"CompanyName"));
    EXPECT_EQ(VersionString(res->data, u"040904b0", u"LegalCopyright"),
              VersionString(res->data, u"041104b0", u"LegalCopyright"));
}

TEST_F(CompiledResources, RegistrationScriptIsStoredByteForByte) {
    const Resource* res = Find("REGISTRY", "#128", -1);
    ASSERT_NE(res, nullptr);
    const Bytes script = ReadFile(std::string(KELPO_SOURCE_DIR) + "/res/kelpo.rgs");
    EXPECT_EQ(res->data, script);
    ASSERT_EQ(script.size(), 659u);
    const std::string text(script.begin(), script.end());
    EXPECT_EQ(text.compare(0, 19, "HKEY_CURRENT_USER\r\n"), 0);
    EXPECT_NE(text.find("\r\n\t\t\t\t\t\tcommand = s '%Module%'\r\n\r\n\t\t\t\t\t\tval Icon = s '%Module%'\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\t\t\t\t\t\tcommand = s '%Module% /RunAs'\r\n\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 3), "}\r\n");
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_EQ(text[i - 1], '\r') << "bare LF at " << i;
        }
    }
}

}  // namespace
