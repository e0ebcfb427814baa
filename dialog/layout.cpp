#include "dialog/layout.h"

POINT ComputeCentredTopLeft(const RECT& reference, const RECT& area, int32_t cx, int32_t cy) {
    int64_t left = (int64_t{reference.left} + reference.right) / 2 - cx / 2;
    int64_t top = (int64_t{reference.top} + reference.bottom) / 2 - cy / 2;
    if (left + cx > area.right) {
        left = int64_t{area.right} - cx;
    }
    if (top + cy > area.bottom) {
        top = int64_t{area.bottom} - cy;
    }
    if (left < area.left) {
        left = area.left;
    }
    if (top < area.top) {
        top = area.top;
    }
    return POINT{SaturateToInt32(left), SaturateToInt32(top)};
}

POINT ContextMenuPoint(uint32_t lParam, const RECT& windowRect) {
    const int32_t x = static_cast<int16_t>(lParam & 0xFFFF);
    const int32_t y = static_cast<int16_t>((lParam >> 16) & 0xFFFF);
    if (x == -1 && y == -1) {
        return POINT{SaturateToInt32((int64_t{windowRect.left} + windowRect.right) / 2),
                     SaturateToInt32((int64_t{windowRect.top} + windowRect.bottom) / 2)};
    }
    return POINT{x, y};
}

int32_t ClampIntoWorkArea(int32_t x, const RECT& workArea) {
    if (x < workArea.left) {
        return workArea.left;
    }
    if (x > workArea.right) {
        return workArea.right;
    }
    return x;
}
