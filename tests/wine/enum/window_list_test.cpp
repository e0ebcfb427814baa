#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_module.h"
#include "enum/window_list.h"
#include "res/resource.h"
#include "target_windows.h"
#include "win/dialog_impl.h"
#include "win/dpi.h"

namespace {

// Hosts the real template so the list has its real style, size and dialog font.
class CHostDialog : public CDialogImpl<CHostDialog> {
public:
    UINT m_nDialogId = IDD_MAINDLG;
    std::vector<NMSORTLISTVIEW> m_sortNotices;

    BOOL ProcessWindowMessage(HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT& lResult, DWORD) override {
        if (uMsg == WM_INITDIALOG) {
            lResult = TRUE;
            return TRUE;
        }
        if (uMsg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_SORTCOLUMNCHANGED) {
            m_sortNotices.push_back(*reinterpret_cast<NMSORTLISTVIEW*>(lParam));
            return TRUE;
        }
        return FALSE;
    }
};

class WindowList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_host.Create(s_module.GetResourceInstance()), nullptr);
        ASSERT_TRUE(m_list.SubclassWindow(m_host.GetDlgItem(IDC_WINDOWS), WindowDpi(m_host)));
    }
    void TearDown() override { ::DestroyWindow(m_host.m_hWnd); }

    std::wstring Cell(int iItem, int iSub) {
        wchar_t sz[512] = {};
        m_list.GetCellText(iItem, iSub, sz, 512);
        return sz;
    }
    LPARAM Data(int iItem) { return m_list.GetItemData(iItem); }
    int HeaderFormat(int iCol) {
        HDITEMW hdi = {};
        hdi.mask = HDI_FORMAT;
        Header_GetItem(m_list.GetHeader(), iCol, &hdi);
        return hdi.fmt;
    }
    int AddFake(const wchar_t* title, const RECT& rc, INT_PTR handle) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = m_list.GetItemCount();
        item.pszText = const_cast<wchar_t*>(title);
        item.lParam = handle;
        int i = static_cast<int>(m_list.SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        m_list.SetItemRect(i, rc);
        return i;
    }
    void ClickHeader(int iCol, int iButton = 0) {
        NMHEADERW nm = {};
        nm.hdr.hwndFrom = m_list.GetHeader();
        nm.hdr.idFrom = 0;
        nm.hdr.code = HDN_ITEMCLICKW;
        nm.iItem = iCol;
        nm.iButton = iButton;
        m_list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    }

    CHostDialog m_host;
    CWindowList m_list;
};

TEST_F(WindowList, ColumnsTitlesFormatsAndWidthsFromDialogUnits) {
    const wchar_t* titles[5] = {L"Title", L"Width", L"Height", L"X", L"Y"};
    RECT rcUnit = {0, 0, 4, 8};
    ::MapDialogRect(m_host.m_hWnd, &rcUnit);
    RECT rcClient;
    m_list.GetClientRect(&rcClient);
    int total = 0;
    for (int i = 0; i < 5; ++i) {
        wchar_t sz[64] = {};
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        col.pszText = sz;
        col.cchTextMax = 64;
        ASSERT_TRUE(m_list.SendMessage(LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&col)));
        EXPECT_STREQ(sz, titles[i]);
        EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, i == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT);
        if (i > 0) {
            EXPECT_EQ(col.cx, 8 * rcUnit.right);
        }
        total += col.cx;
    }
    EXPECT_EQ(total, rcClient.right - ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(m_list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE), LVS_EX_FULLROWSELECT);
    EXPECT_NE(m_list.GetImageList(LVSIL_SMALL), nullptr);
    EXPECT_EQ(m_list.m_iSortColumn, 0);
    EXPECT_EQ(HeaderFormat(0) & (HDF_SORTUP | HDF_SORTDOWN), HDF_SORTUP);
}

TEST_F(WindowList, HeaderClicksSortAndMoveTheArrow) {
    AddFake(L"b", RECT{0, 0, 100, 10}, 0x10);
    AddFake(L"c", RECT{-8, 0, 12, 10}, 0x20);
    AddFake(L"a", RECT{0, 0, 20, 10}, 0x30);
    ASSERT_TRUE(m_list.SortItems(0, false));
    EXPECT_EQ(Cell(0, 0) + Cell(1, 0) + Cell(2, 0), L"abc");

    ClickHeader(0);
    EXPECT_TRUE(m_list.m_bSortDescending);
    EXPECT_EQ(Cell(0, 0) + Cell(1, 0) + Cell(2, 0), L"cba");
    EXPECT_EQ(HeaderFormat(0) & (HDF_SORTUP | HDF_SORTDOWN), HDF_SORTDOWN);

    // Width: 20, 100, 20 compare as numbers, not as text.
    ClickHeader(1);
    EXPECT_FALSE(m_list.m_bSortDescending);
    EXPECT_EQ(Cell(0, 1), L"20");
    EXPECT_EQ(Cell(2, 1), L"100");
    EXPECT_EQ(HeaderFormat(0) & (HDF_SORTUP | HDF_SORTDOWN), 0);
    EXPECT_EQ(HeaderFormat(1) & (HDF_SORTUP | HDF_SORTDOWN), HDF_SORTUP);

    // X: -8 before 0.
    ClickHeader(3);
    EXPECT_EQ(Cell(0, 3), L"-8");
    // Item data is the handle again after every sort.
    for (int i = 0; i < 3; ++i) {
        const std::wstring t = Cell(i, 0);
        EXPECT_EQ(Data(i), t == L"a" ? 0x30 : (t == L"b" ? 0x10 : 0x20));
    }

    ASSERT_EQ(m_host.m_sortNotices.size(), 3u);
    EXPECT_EQ(m_host.m_sortNotices[1].iNewSortColumn, 1);
    EXPECT_EQ(m_host.m_sortNotices[1].iOldSortColumn, 0);
    EXPECT_EQ(m_host.m_sortNotices[1].hdr.idFrom, static_cast<UINT_PTR>(IDC_WINDOWS));

    // A right click sorts nothing.
    ClickHeader(0, 1);
    EXPECT_EQ(m_list.m_iSortColumn, 3);
    EXPECT_EQ(m_host.m_sortNotices.size(), 3u);
}

TEST_F(WindowList, SmallListsOnlyMoveTheArrow) {
    ClickHeader(0);
    EXPECT_TRUE(m_list.m_bSortDescending);
    EXPECT_EQ(m_host.m_sortNotices.size(), 1u);
    AddFake(L"only", RECT{1, 2, 3, 4}, 0x40);
    EXPECT_TRUE(m_list.SortItems(2, true));
    EXPECT_EQ(m_list.m_iSortColumn, 2);
    EXPECT_EQ(Data(0), 0x40);
    // Columns that do not exist change nothing.
    EXPECT_FALSE(m_list.SortItems(-1, false));
    EXPECT_FALSE(m_list.SortItems(5, false));
    EXPECT_EQ(m_list.m_iSortColumn, 2);
}

TEST_F(WindowList, TitlesAgreeingInThirtyOneCharactersSortAsEqual) {
    const std::wstring prefix(31, L'p');
    AddFake((prefix + L"z").c_str(), RECT{}, 1);
    AddFake((prefix + L"a").c_str(), RECT{}, 2);
    AddFake(L"o", RECT{}, 3);
    ASSERT_TRUE(m_list.SortItems(0, false));
    EXPECT_EQ(Data(0), 3);
    // The long titles are equal keys; both come after "o", in whatever order the control leaves.
    EXPECT_EQ(Data(1) + Data(2), 3);
}

TEST_F(WindowList, RowsForRealWindows) {
    CTargetThread targets;
    // A title is text, never a format: tabs, per cents and symbols shown as they are.
    const std::wstring oddTitle = L"with icon \x00e9\x00e8 \x263a \t%s%d";
    HWND hWithIcon = targets.Create(oddTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{10, 20, 310, 220});
    HWND hNoIcon = targets.Create(L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{-50, 5, 50, 105}, false);
    const std::wstring longTitle(10000, L'\x65e5');
    HWND hLong = targets.Create(longTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{0, 0, 100, 100});

    const int iIcon = m_list.AddWindowItem(hWithIcon, RECT{10, 20, 310, 220}, true);
    const int iNone = m_list.AddWindowItem(hNoIcon, RECT{-50, 5, 50, 105}, false);
    const int iLong = m_list.AddWindowItem(hLong, RECT{}, false);
    ASSERT_GE(iIcon, 0);
    EXPECT_EQ(Cell(iIcon, 0), oddTitle);
    EXPECT_EQ(Cell(iIcon, 1) + L"," + Cell(iIcon, 2) + L"," + Cell(iIcon, 3) + L"," + Cell(iIcon, 4),
              L"300,200,10,20");
    EXPECT_EQ(Cell(iNone, 0), L"");
    EXPECT_EQ(Cell(iNone, 3), L"-50");
    EXPECT_EQ(Cell(iLong, 0).substr(0, 100), longTitle.substr(0, 100));
    EXPECT_EQ(Cell(iLong, 4), L"0");

    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = iNone;
    m_list.SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, I_IMAGENONE);
    item.iItem = iIcon;
    m_list.SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_GE(item.iImage, 0);
    // One image per row that has an icon (the two windows of the class with an
    // icon), and the shield that marks rows.
    EXPECT_EQ(::ImageList_GetImageCount(m_list.GetImageList(LVSIL_SMALL)), 3);
    EXPECT_EQ(m_list.SendMessage(LVM_GETITEMSTATE, iIcon, LVIS_OVERLAYMASK), INDEXTOOVERLAYMASK(1));
    EXPECT_EQ(m_list.SendMessage(LVM_GETITEMSTATE, iNone, LVIS_OVERLAYMASK), 0);
    // Marked without an icon: the shield alone, no image more.
    item.iItem = m_list.AddWindowItem(hNoIcon, RECT{}, true);
    m_list.SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_GE(item.iImage, 0);
    EXPECT_EQ(::ImageList_GetImageCount(m_list.GetImageList(LVSIL_SMALL)), 3);
    m_list.SendMessage(LVM_DELETEITEM, item.iItem, 0);

    EXPECT_EQ(m_list.FindWindowItem(hNoIcon), iNone);
    EXPECT_EQ(m_list.FindWindowItem(reinterpret_cast<HWND>(0x1234)), -1);
    EXPECT_FALSE(m_list.SetItemRect(-1, RECT{1, 2, 3, 4}));
    EXPECT_TRUE(m_list.SortItems(0, true));
    EXPECT_EQ(m_list.FindWindowItem(hLong), 0);

    m_list.SelectWindowItem(m_list.FindWindowItem(hWithIcon));
    EXPECT_EQ(m_list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
              m_list.FindWindowItem(hWithIcon));
    m_list.SelectWindowItem(-1);
    EXPECT_EQ(m_list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);

    m_list.DeleteAllWindowItems();
    EXPECT_EQ(m_list.GetItemCount(), 0);
    EXPECT_EQ(::ImageList_GetImageCount(m_list.GetImageList(LVSIL_SMALL)), 1);
}

}  // namespace

namespace {

// The hung windows' thread belongs to this process: only there does the icon
// query really reach it and really wait. Its thread stops answering icon
// queries when first asked for one, after it has answered for the title, and
// it owns many windows: a hung program costs one wait, not one per window.
TEST_F(WindowList, AWindowThatStopsAnsweringCostsOnlyAShortWait) {
    CTargetThread targets;
    CTargetThread blocked;
    std::vector<HWND> windows;
    for (int i = 0; i < 30; ++i) {
        windows.push_back(targets.Create(L"answers " + std::to_wstring(i), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                         RECT{i, i, 200 + i, 200 + i}));
    }
    HWND hBlocked = blocked.Create(L"blocked", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{5, 5, 300, 300});
    windows.push_back(hBlocked);
    for (int i = 0; i < 15; ++i) {
        windows.push_back(blocked.Create(L"blocked too", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{9, 9, 99, 99}));
    }
    auto refill = [&] {
        const ULONGLONG start = ::GetTickCount64();
        m_list.DeleteAllWindowItems();
        for (HWND hWnd : windows) m_list.AddWindowItem(hWnd, RECT{}, false);
        return ::GetTickCount64() - start;
    };
    ULONGLONG baseline = ~0ull;
    for (int i = 0; i < 2; ++i) baseline = std::min(baseline, refill());
    blocked.HangAtIconQuery(hBlocked, 2500);
    const ULONGLONG slow = refill();
    EXPECT_LT(slow, baseline + 4 * CWindowList::kIconQueryTimeoutMs) << "baseline " << baseline << " ms";
    EXPECT_EQ(m_list.GetItemCount(), static_cast<int>(windows.size()));
    EXPECT_EQ(Cell(m_list.FindWindowItem(hBlocked), 0), L"blocked");
}

TEST_F(WindowList, RowsSharingTheirDataStillSortByTheirCells) {
    AddFake(L"c", RECT{0, 0, 30, 1}, 7);
    AddFake(L"a", RECT{0, 0, 10, 1}, 7);
    AddFake(L"b", RECT{0, 0, 20, 1}, 0);
    AddFake(L"d", RECT{0, 0, 40, 1}, 0);
    ASSERT_TRUE(m_list.SortItems(0, false));
    EXPECT_EQ(Cell(0, 0) + Cell(1, 0) + Cell(2, 0) + Cell(3, 0), L"abcd");
    EXPECT_EQ(Data(0) + Data(1) + Data(2) + Data(3), 14);
    EXPECT_EQ(Data(0), 7);
    EXPECT_EQ(Data(1), 0);
    ASSERT_TRUE(m_list.SortItems(1, true));
    EXPECT_EQ(Cell(0, 1), L"40");
    EXPECT_EQ(Data(0), 0);
}

}  // namespace

namespace {

TEST(IconCopy, IconsOfAnySizeAndKindAreAppended) {
    HIMAGELIST hImages = ::ImageList_Create(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           ILC_COLOR32 | ILC_MASK, 0, 10);
    const HICON hSmall = static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32516), IMAGE_ICON,
                                                         ::GetSystemMetrics(SM_CXSMICON),
                                                         ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    const HICON hLarge = static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32516), IMAGE_ICON, 48, 48, 0));
    const HCURSOR hMono = ::LoadCursorW(nullptr, IDC_CROSS);
    EXPECT_EQ(AppendIconCopy(hImages, hSmall), 0);
    EXPECT_EQ(AppendIconCopy(hImages, hLarge), 1);  // scaled down to one image, not split in several
    EXPECT_EQ(AppendIconCopy(hImages, hMono), 2);
    EXPECT_EQ(::ImageList_GetImageCount(hImages), 3);
    ::DestroyIcon(hLarge);
    ::ImageList_Destroy(hImages);
}

}  // namespace
