// Refreshes of the real dialog with windows coming and going: the process must
// not grow. scripts/test runs 150 (enough to show a leak of one image, of a
// kilobyte or of an icon's bitmap per refresh, each several times over its
// limit); scripts/bench runs a thousand (KELPO_SOAK_REFRESHES).
#include <gtest/gtest.h>
#include <psapi.h>

#include <cstdlib>
#include <vector>

#include "dialog/dialog.h"
#include "target_windows.h"

namespace {

struct Usage {
    DWORD userObjects;
    DWORD gdiObjects;
    DWORD handles;
    SIZE_T privateBytes;
    SIZE_T heapBytes;
};

// Bytes in use in every heap of the process: what a leak of allocations shows in.
SIZE_T HeapBytesInUse() {
    HANDLE heaps[64];
    const DWORD n = ::GetProcessHeaps(64, heaps);
    SIZE_T busy = 0;
    for (DWORD i = 0; i < n && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry = {};
        ::HeapLock(heaps[i]);
        while (::HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
        }
        ::HeapUnlock(heaps[i]);
    }
    return busy;
}

// Some systems (Wine) answer 0 for the USER, GDI and handle counts and leave
// PrivateUsage empty; the heap walk and the commit charge count there instead.
Usage Measure() {
    Usage u = {};
    u.userObjects = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    u.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    ::GetProcessHandleCount(::GetCurrentProcess(), &u.handles);
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof(pmc);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
    u.privateBytes = pmc.PrivateUsage != 0 ? pmc.PrivateUsage : pmc.PagefileUsage;
    u.heapBytes = HeapBytesInUse();
    return u;
}

int RowsWithImages(const CWindowList& list) {
    int n = 0;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        list.SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        n += item.iImage >= 0 ? 1 : 0;
    }
    return n;
}

TEST(Soak, RefreshesDoNotGrowTheProcess) {
    const char* pszCount = std::getenv("KELPO_SOAK_REFRESHES");
    const int nRefreshes = pszCount != nullptr ? std::atoi(pszCount) : 150;
    CTargetThread targets;
    std::vector<HWND> windows;
    for (int i = 0; i < 120; ++i) {
        windows.push_back(targets.Create(L"soak " + std::to_wstring(i), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                         RECT{i, i, 300 + i, 200 + i}, i % 4 != 0));
    }
    CDialog dlg;
    ASSERT_NE(dlg.Create(s_module.GetResourceInstance()), nullptr);

    auto refreshAndChurn = [&](int i) {
        // Between refreshes a few windows go and others come, with and without icons.
        const size_t victim = static_cast<size_t>(i * 7) % windows.size();
        targets.Destroy(windows[victim]);
        windows[victim] = targets.Create(L"soak new " + std::to_wstring(i), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                         RECT{i % 500, 10, i % 500 + 200, 210}, i % 3 != 0);
        ::SendMessageW(dlg.m_hWnd, WM_COMMAND, ID_REFRESH, 0);
        // Select a row now and then so the target paths run too.
        if (i % 50 == 0) {
            dlg.m_windowList.SelectWindowItem(i % dlg.m_windowList.GetItemCount());
        }
    };
    // Warm up first: the first refreshes fill caches that then stay.
    for (int i = 0; i < 50; ++i) {
        refreshAndChurn(i);
    }
    const Usage before = Measure();
    for (int i = 50; i < 50 + nRefreshes; ++i) {
        refreshAndChurn(i);
        const int images = ::ImageList_GetImageCount(dlg.m_windowList.GetImageList(LVSIL_SMALL));
        ASSERT_EQ(images, RowsWithImages(dlg.m_windowList) + 1) << "refresh " << i;  // and the shield
    }
    const Usage after = Measure();
    EXPECT_GE(dlg.m_windowList.GetItemCount(), 120);
    EXPECT_LE(after.userObjects, before.userObjects);
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_LE(after.handles, before.handles + 2);
    EXPECT_NE(after.privateBytes, 0u);
    EXPECT_LT(after.privateBytes, before.privateBytes + 512 * 1024)
        << "private bytes " << before.privateBytes << " -> " << after.privateBytes;
    EXPECT_LT(after.heapBytes, before.heapBytes + 32 * 1024)
        << "heap bytes in use " << before.heapBytes << " -> " << after.heapBytes;
    std::printf("soak of %d refreshes: USER objects %lu -> %lu, GDI objects %lu -> %lu, handles %lu -> %lu, "
                "private %lu -> %lu KiB, heap in use %lu -> %lu bytes\n",
                nRefreshes, before.userObjects, after.userObjects, before.gdiObjects, after.gdiObjects, before.handles,
                after.handles, static_cast<unsigned long>(before.privateBytes / 1024),
                static_cast<unsigned long>(after.privateBytes / 1024), static_cast<unsigned long>(before.heapBytes),
                static_cast<unsigned long>(after.heapBytes));
    ::DestroyWindow(dlg.m_hWnd);
}

}  // namespace
