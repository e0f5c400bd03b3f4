#pragma once
// Geometry of the four-armed spiral and the polygon of one frame. Platform-free.
#include <cstdint>

// Where the spiral sits in a client area of w x h pixels; computed once per render-thread run.
struct SpiralGeometry {
    int32_t w = 0, h = 0; // client size, the size of every frame
    int32_t D = 0;        // a diameter just longer than the client diagonal
    int32_t R = 0;        // D / 2; sets the vertex count
    int32_t offX = 0, offY = 0;
    int32_t cx = 0, cy = 0; // centre of the spiral in client coordinates

    int32_t CurveVertices() const { return 3 * R; } // N: vertices of one outgoing curve
    int32_t BlockVertices() const { return 6 * R; } // one arm
    int32_t VertexCount() const { return 24 * R; }  // the whole polygon
};

// Layout-compatible with the platform's POINT (two 32-bit signed integers), so a buffer of these can be drawn
// directly.
struct SpiralPoint {
    int32_t x;
    int32_t y;
};

inline bool operator==(SpiralPoint a, SpiralPoint b) {
    return a.x == b.x && a.y == b.y;
}

constexpr int kSpiralFrameCount = 15;
constexpr int kSpiralDegreesPerFrame = 6;

// Geometry for a client rectangle whose right and bottom are w and h.
SpiralGeometry ComputeSpiralGeometry(int32_t w, int32_t h);

// Adds one half and truncates toward zero: -1.4 gives 0 and -1.6 gives -1 (not the nearest integer for
// negative values; the frames are defined with this rounding).
int32_t AddHalfAndTruncate(double value);

// The point one pixel outside the client area, at the next corner clockwise from the side on which the outer
// end e of a curve lies; it closes an arm around the part of the client area that lies beyond the curve.
SpiralPoint ClosingCorner(const SpiralGeometry& g, SpiralPoint e);

// Fills the g.VertexCount() vertices of the frame at phase angle a (whole degrees).
void BuildSpiralPolygon(int a, const SpiralGeometry& g, SpiralPoint* vertices);
