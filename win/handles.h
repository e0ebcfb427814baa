// Small owners of the system's handles: each releases its handle when it goes,
// on every path out of the scope that acquired it.
#pragma once
#include <windows.h>

template <class H, auto Release>
class CHandleOwner {
public:
    CHandleOwner() = default;
    explicit CHandleOwner(H h) : m_h(h) {}
    ~CHandleOwner() { Reset(); }
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;

    operator H() const { return m_h; }
    void Reset(H h = nullptr) {
        if (m_h != nullptr) {
            Release(m_h);
        }
        m_h = h;
    }

private:
    H m_h = nullptr;
};

using CMenuOwner = CHandleOwner<HMENU, ::DestroyMenu>;
using CIconOwner = CHandleOwner<HICON, ::DestroyIcon>;
using CCursorOwner = CHandleOwner<HCURSOR, ::DestroyCursor>;
using CAcceleratorOwner = CHandleOwner<HACCEL, ::DestroyAcceleratorTable>;
using CKernelHandle = CHandleOwner<HANDLE, ::CloseHandle>;
using CBitmapOwner = CHandleOwner<HBITMAP, ::DeleteObject>;
using CBrushOwner = CHandleOwner<HBRUSH, ::DeleteObject>;
using CMemoryDc = CHandleOwner<HDC, ::DeleteDC>;

// The two bitmaps GetIconInfo hands out.
struct CIconBitmaps {
    ICONINFO ii = {};
    bool bValid = false;
    explicit CIconBitmaps(HICON hIcon) : bValid(hIcon != nullptr && ::GetIconInfo(hIcon, &ii) != FALSE) {}
    ~CIconBitmaps() {
        if (ii.hbmMask != nullptr) {
            ::DeleteObject(ii.hbmMask);
        }
        if (ii.hbmColor != nullptr) {
            ::DeleteObject(ii.hbmColor);
        }
    }
    CIconBitmaps(const CIconBitmaps&) = delete;
    CIconBitmaps& operator=(const CIconBitmaps&) = delete;
};
