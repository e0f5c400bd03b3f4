#pragma once
// Scan conversion of a spiral frame's polygon straight into the one-bit rows a monochrome bitmap is created from.
// Platform-free.
#include <cstddef>
#include <cstdint>

#include "render/spiral/SpiralGeometry.h"

// Bytes per row of a one-bit image w pixels wide, as monochrome bitmaps take their bits: each row padded to a
// 16-bit boundary, the leftmost pixel in the most significant bit of its byte.
size_t OneBitRowStride(int32_t w);

// Draws the closed polygon of count vertices into h rows of OneBitRowStride(w) bytes, overwriting them: pixels
// inside under the even-odd rule become 1, then a one-pixel outline along every edge (the one from the last
// vertex back to the first included) becomes 0; everything else is 0.
// The conventions are those of the platform's own polygon drawing with a solid brush and a one-pixel pen:
// pixel (x, y) is inside when the point (x, y) is, a boundary at the left or top belonging to the interior and
// one at the right or bottom not; each edge's outline is the Bresenham walk from its start vertex, which is
// drawn, to its end vertex, which is not (the next edge draws it).
void RasteriseSpiralPolygon(const SpiralPoint* vertices, int32_t count, int32_t w, int32_t h, uint8_t* rows);
