#include "geometry/anchor_grid.h"

#include "res/resource.h"

const int kAnchorGridIds[9] = {
    IDC_ANCHOR_TOPLEFT,    IDC_ANCHOR_TOP,    IDC_ANCHOR_TOPRIGHT,
    IDC_ANCHOR_LEFT,       IDC_ANCHOR_CENTER, IDC_ANCHOR_RIGHT,
    IDC_ANCHOR_BOTTOMLEFT, IDC_ANCHOR_BOTTOM, IDC_ANCHOR_BOTTOMRIGHT,
};

void PackAnchorGrid(RECT (&rects)[9]) {
    for (int row = 0; row < 3; ++row) {
        for (int col = 1; col < 3; ++col) {
            RECT& rc = rects[row * 3 + col];
            const int32_t width = rc.right - rc.left;
            rc.left = rects[row * 3 + col - 1].right;
            rc.right = rc.left + width;
        }
    }
    for (int row = 1; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            RECT& rc = rects[row * 3 + col];
            const int32_t height = rc.bottom - rc.top;
            rc.top = rects[(row - 1) * 3 + col].bottom;
            rc.bottom = rc.top + height;
        }
    }
}
