#pragma once
// The spiral polygon drawn by the platform's own polygon fill, the reference the saver's rasteriser is compared
// with (by the frame tests and the benchmark).
#include <windows.h>

#include <cstddef>

#include "render/spiral/SpiralGeometry.h"

static_assert(sizeof(SpiralPoint) == sizeof(POINT) && offsetof(POINT, x) == offsetof(SpiralPoint, x) &&
                  offsetof(POINT, y) == offsetof(SpiralPoint, y),
              "the vertices are drawn as an array of POINT");

// Clears the w x h one-bit image selected into memDC to 0 and draws the polygon on it with the surface's default
// white brush (interior 1, even-odd) and black one-pixel pen (outline 0).
inline void DrawWithPlatformPolygon(HDC memDC, const SpiralPoint* vertices, int count, int w, int h) {
    const RECT whole{0, 0, w, h};
    ::SetBkColor(memDC, RGB(0, 0, 0));
    ::ExtTextOutA(memDC, 0, 0, ETO_OPAQUE, &whole, nullptr, 0, nullptr);
    ::Polygon(memDC, reinterpret_cast<const POINT*>(vertices), count);
}
