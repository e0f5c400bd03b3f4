#pragma once
// Checks of spiral frame pixels that do not depend on who drew them: an independent even-odd rasteriser, the
// band around edges where rasterisers may differ, and samples along rays from the centre.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/spiral/SpiralGeometry.h"

namespace oracle {

// Even-odd fill of the polygon sampled at pixel centres: 1 inside, 0 outside, row by row.
std::vector<uint8_t> RasteriseEvenOdd(const std::vector<SpiralPoint>& v, int w, int h);

// Pixels whose centre lies within radius of an edge of the polygon: where rasterisers may differ.
std::vector<uint8_t> EdgeBand(const std::vector<SpiralPoint>& v, int w, int h, double radius);

// The 15 frames of one client size as bit values (0 or 1), w x h each, row by row from the top.
struct SpiralImages {
    SpiralGeometry g;
    std::vector<std::vector<uint8_t>> bits;

    uint8_t Bit(int k, int x, int y) const { return bits[k][static_cast<size_t>(y) * g.w + x]; }
};

// Bits along a ray from the centre, one sample per pixel of radius, from radius 0 until the client edge.
std::vector<uint8_t> Ray(const SpiralImages& f, int k, double degrees);

// Radii at which a ray enters an arm (bit 0 to bit 1), beyond minRadius.
std::vector<int> ArmStarts(const std::vector<uint8_t>& ray, int minRadius);

// The bit values (0 or 1) of w x h pixels held in one-bit rows as the rasteriser writes them: each row padded to
// 16 bits, the leftmost pixel in the most significant bit.
std::vector<uint8_t> UnpackRows(const std::vector<uint8_t>& rows, int w, int h);

// Rays that cross the arms at different angles to the rows and columns, all round the centre.
extern const double kRayAngles[8];

} // namespace oracle
