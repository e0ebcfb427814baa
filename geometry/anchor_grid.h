// Packing the nine anchor buttons into a seamless block; free of platform calls.
#pragma once
#include "geometry/rect.h"

// The anchor buttons in row-major order, as the grid is walked.
extern const int kAnchorGridIds[9];

// Moves the buttons so neighbours touch edge to edge, each keeping its size; the
// top-left button, the top row's vertical place and the left column's horizontal place stay.
void PackAnchorGrid(RECT (&rects)[9]);
