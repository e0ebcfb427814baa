// The rectangle and point types of the pure code: the platform's own on Windows,
// layout-compatible stand-ins elsewhere so the arithmetic builds and tests natively.
#pragma once
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
typedef struct tagRECT {
    int32_t left, top, right, bottom;
} RECT;
typedef struct tagPOINT {
    int32_t x, y;
} POINT;
#endif

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const RECT& a, const RECT& b) { return !(a == b); }

// Clamps a 64-bit intermediate into the 32-bit coordinate range, so sums of
// extreme coordinates saturate instead of wrapping around.
constexpr int32_t SaturateToInt32(int64_t v) {
    return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v));
}
