// Pure rules of where the dialog, the finder and the context menu go.
#pragma once
#include <cstdint>

#include "geometry/rect.h"

// Centres a cx by cy window on reference, then pushes it into area; when it does
// not fit, its left and top edges win.
POINT ComputeCentredTopLeft(const RECT& reference, const RECT& area, int32_t cx, int32_t cy);

// The point of WM_CONTEXTMENU: the signed halves of lParam, or the centre of the
// clicked window when both are -1 (menu key, Shift+F10).
POINT ContextMenuPoint(uint32_t lParam, const RECT& windowRect);

// A point on no display keeps its y but has its x clamped into the nearest display's work area.
int32_t ClampIntoWorkArea(int32_t x, const RECT& workArea);
