#include "geometry/placement.h"

#include "res/resource.h"

namespace {
constexpr uint32_t kStyleMinimize = 0x20000000;
constexpr uint32_t kStyleMaximize = 0x01000000;
constexpr uint32_t kStyleThickFrame = 0x00040000;

RECT Offset(const RECT& rc, int64_t dx, int64_t dy) {
    return RECT{SaturateToInt32(rc.left + dx), SaturateToInt32(rc.top + dy), SaturateToInt32(rc.right + dx),
                SaturateToInt32(rc.bottom + dy)};
}

int32_t Width(const RECT& rc) { return SaturateToInt32(int64_t{rc.right} - rc.left); }
int32_t Height(const RECT& rc) { return SaturateToInt32(int64_t{rc.bottom} - rc.top); }

enum Pick { kNear, kCentre, kFar };

int32_t PickX(const AlignedRects& a, Pick p) {
    return p == kNear ? a.rcNear.left : (p == kCentre ? a.rcCentre.left : a.rcFar.left);
}
int32_t PickY(const AlignedRects& a, Pick p) {
    return p == kNear ? a.rcNear.top : (p == kCentre ? a.rcCentre.top : a.rcFar.top);
}

struct AnchorRow {
    int nId;
    Pick x;
    Pick y;
};
constexpr AnchorRow kAnchors[] = {
    {IDC_ANCHOR_TOPLEFT, kNear, kNear},      {IDC_ANCHOR_TOP, kCentre, kNear},
    {IDC_ANCHOR_TOPRIGHT, kFar, kNear},      {IDC_ANCHOR_LEFT, kNear, kCentre},
    {IDC_ANCHOR_CENTER, kCentre, kCentre},   {IDC_ANCHOR_RIGHT, kFar, kCentre},
    {IDC_ANCHOR_BOTTOMLEFT, kNear, kFar},    {IDC_ANCHOR_BOTTOM, kCentre, kFar},
    {IDC_ANCHOR_BOTTOMRIGHT, kFar, kFar},
};

void Add(PresetResult& r, int nFieldId, int32_t nValue) {
    r.writes[r.nWrites++] = FieldWrite{nFieldId, nValue};
}
}  // namespace

RECT ComputeFieldRect(FieldValue width, FieldValue height, FieldValue x, FieldValue y, const RECT& current) {
    int64_t left = x.valid ? x.value : current.left;
    int64_t top = y.valid ? y.value : current.top;
    int64_t w = width.valid ? width.value : int64_t{current.right} - current.left;
    int64_t h = height.valid ? height.value : int64_t{current.bottom} - current.top;
    return RECT{SaturateToInt32(left), SaturateToInt32(top), SaturateToInt32(left + w), SaturateToInt32(top + h)};
}

RECT NormalizeRect(RECT rc) {
    if (rc.left > rc.right) {
        int32_t t = rc.left;
        rc.left = rc.right;
        rc.right = t;
    }
    if (rc.top > rc.bottom) {
        int32_t t = rc.top;
        rc.top = rc.bottom;
        rc.bottom = t;
    }
    return rc;
}

AlignedRects ComputeAlignedRects(const RECT& f, const RECT& wa) {
    AlignedRects a;
    a.rcNear = Offset(f, int64_t{wa.left} - f.left, int64_t{wa.top} - f.top);
    a.rcCentre = Offset(f, int64_t{Half(int64_t{wa.left} + wa.right)} - Half(int64_t{f.left} + f.right),
                        int64_t{Half(int64_t{wa.top} + wa.bottom)} - Half(int64_t{f.top} + f.bottom));
    a.rcFar = Offset(f, int64_t{wa.right} - f.right, int64_t{wa.bottom} - f.bottom);
    return a;
}

PresetResult ComputePreset(int nCommandId, const RECT& f, const RECT& c, const RECT& d, const RECT& wa) {
    PresetResult r;
    const AlignedRects a = ComputeAlignedRects(f, wa);
    const int nField = nCommandId - nCommandId % 10;
    const int nIndex = nCommandId % 10;
    if (nCommandId >= IDC_WIDTH && nCommandId < IDC_Y + 5 && nIndex < 5 &&
        (nField == IDC_WIDTH || nField == IDC_HEIGHT || nField == IDC_X || nField == IDC_Y)) {
        r.bHandled = true;
        if (nField == IDC_WIDTH || nField == IDC_HEIGHT) {
            const bool bWidth = nField == IDC_WIDTH;
            const int32_t values[5] = {
                bWidth ? Width(c) : Height(c),
                bWidth ? Width(d) : Height(d),
                bWidth ? Width(wa) : Height(wa),
                bWidth ? Half(int64_t{wa.right} - wa.left) : Half(int64_t{wa.bottom} - wa.top),
                bWidth ? Quarter(int64_t{wa.right} - wa.left) : Quarter(int64_t{wa.bottom} - wa.top),
            };
            Add(r, nField, values[nIndex]);
        } else {
            const bool bX = nField == IDC_X;
            const int32_t values[5] = {
                bX ? c.left : c.top,
                bX ? d.left : d.top,
                bX ? a.rcNear.left : a.rcNear.top,
                bX ? a.rcCentre.left : a.rcCentre.top,
                bX ? a.rcFar.left : a.rcFar.top,
            };
            Add(r, IDC_WIDTH, Width(f));
            Add(r, IDC_HEIGHT, Height(f));
            Add(r, nField, values[nIndex]);
        }
        r.nFocusFieldId = nField;
        return r;
    }
    for (const AnchorRow& row : kAnchors) {
        if (row.nId == nCommandId) {
            r.bHandled = true;
            Add(r, IDC_WIDTH, Width(f));
            Add(r, IDC_HEIGHT, Height(f));
            Add(r, IDC_X, PickX(a, row.x));
            Add(r, IDC_Y, PickY(a, row.y));
            return r;
        }
    }
    return r;
}

WindowPos ComputeWindowPos(const RECT& apply, const RECT* w, const RECT* e) {
    int64_t x = apply.left;
    int64_t y = apply.top;
    int64_t cx = int64_t{apply.right} - apply.left;
    int64_t cy = int64_t{apply.bottom} - apply.top;
    if (w != nullptr && e != nullptr) {
        x += int64_t{w->left} - e->left;
        y += int64_t{w->top} - e->top;
        const int64_t dW = (int64_t{e->right} - e->left) - (int64_t{w->right} - w->left);
        const int64_t dH = (int64_t{e->bottom} - e->top) - (int64_t{w->bottom} - w->top);
        cx = cx - dW < 0 ? 0 : cx - dW;
        cy = cy - dH < 0 ? 0 : cy - dH;
    }
    return WindowPos{SaturateToInt32(x), SaturateToInt32(y), SaturateToInt32(cx), SaturateToInt32(cy)};
}

EnableState ComputeEnableState(uint32_t dwStyle) {
    const bool bMovable = (dwStyle & (kStyleMinimize | kStyleMaximize)) == 0;
    return EnableState{bMovable && (dwStyle & kStyleThickFrame) != 0, bMovable};
}

namespace {
bool SameBorders(const TargetPlacement& a, const TargetPlacement& b) {
    return a.rcWindow.left - a.rcFrame.left == b.rcWindow.left - b.rcFrame.left &&
           a.rcWindow.top - a.rcFrame.top == b.rcWindow.top - b.rcFrame.top &&
           a.rcWindow.right - a.rcFrame.right == b.rcWindow.right - b.rcFrame.right &&
           a.rcWindow.bottom - a.rcFrame.bottom == b.rcWindow.bottom - b.rcFrame.bottom;
}
}  // namespace

bool MovedAcross(const TargetPlacement& before, const TargetPlacement& after) {
    return after.nMonitor != before.nMonitor || after.nDpi != before.nDpi || !SameBorders(before, after);
}
