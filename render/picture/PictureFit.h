#pragma once
// Where a picture goes when it is scaled to fit a target and centred on black. Platform-free.
#include <cstdint>

// A rectangle as origin and size.
struct FitRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// The rectangle, inside a target whose right and bottom are r and b, that a picture of W x H (any unit, e.g.
// HIMETRIC) fills when scaled to fit with its aspect ratio kept: bars left and right when the picture is
// relatively taller than the target, else above and below. A picture without area fills the whole target.
FitRect FitPicture(int32_t r, int32_t b, int32_t W, int32_t H);
