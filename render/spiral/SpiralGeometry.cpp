#include "render/spiral/SpiralGeometry.h"

#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kPixelsPerDegree = 0.3333333333333333;

// Offset of vertex i of a curve that starts at angle start degrees: i degrees further round, i/3 pixels out.
SpiralPoint CurveOffset(int start, int i) {
    const double theta = (start + i) * kRadiansPerDegree;
    const double radius = i * kPixelsPerDegree;
    return {AddHalfAndTruncate(std::cos(theta) * radius), AddHalfAndTruncate(std::sin(theta) * radius)};
}

// The four arms are one curve turned by 0, 180, 90 counter-clockwise and 90 clockwise (on screen, y down).
SpiralPoint Turn(int block, SpiralPoint p) {
    switch (block) {
    case 0:
        return p;
    case 1:
        return {-p.x, -p.y};
    case 2:
        return {p.y, -p.x};
    default:
        return {-p.y, p.x};
    }
}

} // namespace

SpiralGeometry ComputeSpiralGeometry(int32_t w, int32_t h) {
    SpiralGeometry g;
    g.w = w;
    g.h = h;
    // The sum is formed in 64 bits: identical to 32-bit arithmetic for every real window size, and no
    // overflow for absurd ones.
    const int64_t squares = static_cast<int64_t>(w) * w + static_cast<int64_t>(h) * h;
    g.D = static_cast<int32_t>(std::sqrt(static_cast<double>(squares))) + 2;
    g.R = g.D / 2;
    g.offX = (g.D - w) / 2;
    g.offY = (g.D - h) / 2;
    g.cx = g.R - g.offX;
    g.cy = g.R - g.offY;
    return g;
}

int32_t AddHalfAndTruncate(double value) {
    return static_cast<int32_t>(value + 0.5);
}

SpiralPoint ClosingCorner(const SpiralGeometry& g, SpiralPoint e) {
    if (e.x <= 0)
        return {-1, -1};
    if (e.y <= 0)
        return {g.w + 1, -1};
    if (e.y < g.h)
        return {g.w + 1, g.h + 1};
    return {-1, g.h + 1};
}

void BuildSpiralPolygon(int a, const SpiralGeometry& g, SpiralPoint* vertices) {
    const int32_t n = g.CurveVertices();
    const int32_t block = g.BlockVertices();
    // Block 0: the arm as computed, the outgoing edge from the centre outward, then its closing corner, then the
    // return edge (45 degrees behind) written from its outer end back in to the centre.
    for (int32_t i = 0; i < n; ++i) {
        const SpiralPoint t = CurveOffset(a, i);
        vertices[i] = {g.cx + t.x, g.cy + t.y};
    }
    vertices[n] = ClosingCorner(g, vertices[n - 1]);
    for (int32_t j = 0; j <= n - 2; ++j) {
        const SpiralPoint t = CurveOffset(a + 45, j);
        vertices[block - 1 - j] = {g.cx + t.x, g.cy + t.y};
    }
    // The other three arms turn block 0's offsets: the trigonometry is done once per frame.
    for (int b = 1; b < 4; ++b) {
        SpiralPoint* s = vertices + static_cast<int64_t>(block) * b;
        for (int32_t i = 0; i < block; ++i) {
            if (i == n)
                continue;
            const SpiralPoint t = Turn(b, {vertices[i].x - g.cx, vertices[i].y - g.cy});
            s[i] = {g.cx + t.x, g.cy + t.y};
        }
        s[n] = ClosingCorner(g, s[n - 1]);
    }
}
