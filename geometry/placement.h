// Placement arithmetic of Apply, Restore and the presets; free of platform calls.
#pragma once
#include <cstdint>

#include "geometry/rect.h"

// A field's value: valid only when the text was a number within -32768..32767.
struct FieldValue {
    bool valid = false;
    int32_t value = 0;
};

constexpr int32_t kFieldMin = -32768;
constexpr int32_t kFieldMax = 32767;

// A parsed field: translated tells whether the text was a number at all.
constexpr FieldValue MakeFieldValue(bool translated, int32_t value) {
    return FieldValue{translated && value >= kFieldMin && value <= kFieldMax, value};
}

// F from Width, Height, X, Y; absent values come from the current rectangle C.
RECT ComputeFieldRect(FieldValue width, FieldValue height, FieldValue x, FieldValue y, const RECT& current);

RECT NormalizeRect(RECT rc);

// half(n) and quarter(n) truncate toward zero.
constexpr int32_t Half(int64_t n) { return SaturateToInt32(n / 2); }
constexpr int32_t Quarter(int64_t n) { return SaturateToInt32(n / 4); }

struct AlignedRects {
    RECT rcNear;    // F moved to the work area's top-left corner
    RECT rcCentre;  // F centred in the work area
    RECT rcFar;     // F moved to the work area's bottom-right corner
};
AlignedRects ComputeAlignedRects(const RECT& field, const RECT& workArea);

struct FieldWrite {
    int nFieldId;
    int32_t nValue;
};

struct PresetResult {
    bool bHandled = false;
    int nWrites = 0;
    FieldWrite writes[4] = {};
    int nFocusFieldId = 0;  // 0: the focus stays where it is
};

// What a preset command (field id + preset index) or an anchor button writes.
PresetResult ComputePreset(int nCommandId, const RECT& field, const RECT& current, const RECT& defaultRect,
                           const RECT& workArea);

struct WindowPos {
    int32_t x, y, cx, cy;
};

// Converts a visible-frame rectangle to SetWindowPos arguments. window and frame
// are the target's window rectangle and extended frame bounds, or null when
// either could not be read (the rectangle is then applied as it is).
WindowPos ComputeWindowPos(const RECT& apply, const RECT* window, const RECT* frame);

// The target as measured around a move: its window rectangle, its visible
// frame (the window rectangle when the frame could not be read), the display
// it is on and its DPI (0 where the system cannot tell).
struct TargetPlacement {
    RECT rcWindow;
    RECT rcFrame;
    uintptr_t nMonitor;
    uint32_t nDpi;
};

// Whether a move took the target across what the first computation relied on:
// a display of another scale, other borders, a DPI change that makes the
// target resize itself (at once, or a moment later through its own queue).
bool MovedAcross(const TargetPlacement& before, const TargetPlacement& after);

struct EnableState {
    bool bSizable;
    bool bMovable;
};
EnableState ComputeEnableState(uint32_t dwStyle);
