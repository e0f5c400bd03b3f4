#include "render/spiral/SpiralRaster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Floor division for a positive divisor (the language's division truncates toward zero).
int64_t FloorDiv(int64_t n, int64_t d) {
    const int64_t q = n / d;
    return q - ((n % d) < 0 ? 1 : 0);
}

// Flips the bit of every pixel where an edge crosses a scanline, at the first pixel at or right of the crossing.
// Once each row is turned into a running parity (FillSpansFromCrossings), a pixel is 1 exactly when an odd
// number of edges cross its scanline at or left of its point: the even-odd interior, spans [left, right).
void FlipCrossings(SpiralPoint a, SpiralPoint b, int32_t w, int32_t h, uint8_t* rows, size_t stride) {
    if (a.y == b.y)
        return; // a horizontal edge crosses no scanline
    if (a.y > b.y)
        std::swap(a, b);
    // The scanlines from the top end to just above the bottom end, so that where two edges meet at a vertex
    // the scanline through it is crossed once on a monotone boundary and twice or not at all at a turn.
    const int32_t yBegin = std::max<int32_t>(a.y, 0), yEnd = std::min<int32_t>(b.y, h);
    if (yBegin >= yEnd || std::min(a.x, b.x) >= w)
        return; // wholly above, below or right of the image: changes no pixel's parity
    uint8_t* row = rows + static_cast<size_t>(yBegin) * stride;
    if (std::max(a.x, b.x) <= 0) {
        // Wholly at or left of the first column, as the outer parts of the arms are: every crossing is there.
        for (int32_t y = yBegin; y < yEnd; ++y, row += stride)
            row[0] ^= 0x80;
        return;
    }
    const int32_t dy = b.y - a.y, dx = b.x - a.x;
    // Crossing at scanline y: a.x + (y - a.y) * dx / dy, rounded up to a whole pixel. Kept as the whole offset q
    // and the remainder rem = q * dy - exact offset * dy in [0, dy), stepped without dividing. Most edges are a
    // few pixels long and begin inside: they need one division at most.
    int32_t q = 0, rem = 0;
    if (yBegin != a.y) {
        const int64_t num = static_cast<int64_t>(yBegin - a.y) * dx;
        q = static_cast<int32_t>(-FloorDiv(-num, dy));
        rem = static_cast<int32_t>(static_cast<int64_t>(q) * dy - num);
    }
    int32_t stepQ = 0, stepRem = 0;
    if (yEnd - yBegin > 1) {
        stepQ = dx / dy - (dx % dy < 0 ? 1 : 0);
        stepRem = dx - stepQ * dy;
    }
    for (int32_t y = yBegin; y < yEnd; ++y, row += stride) {
        const int32_t x = a.x + q;
        if (x < w) {
            const int32_t px = x < 0 ? 0 : x;
            row[px >> 3] ^= static_cast<uint8_t>(0x80u >> (px & 7));
        }
        // Without a branch, as whether the remainder wraps is as good as random from scanline to scanline:
        // wrapped is all ones when it does.
        rem -= stepRem;
        const int32_t wrapped = rem >> 31;
        rem += dy & wrapped;
        q += stepQ - wrapped;
    }
}

// Prefix parity of the bits of one word, leftmost (most significant) first.
uint64_t RunningParity64(uint64_t v) {
    v ^= v >> 1;
    v ^= v >> 2;
    v ^= v >> 4;
    v ^= v >> 8;
    v ^= v >> 16;
    v ^= v >> 32;
    return v;
}

uint8_t RunningParity8(uint8_t v) {
    unsigned p = v;
    p ^= p >> 1;
    p ^= p >> 2;
    p ^= p >> 4;
    return static_cast<uint8_t>(p);
}

// Eight bytes of a row as one word, the first byte (the leftmost pixels) most significant.
uint64_t LoadBigEndian64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    v = __builtin_bswap64(v);
#endif
    return v;
}

void StoreBigEndian64(uint8_t* p, uint64_t v) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    v = __builtin_bswap64(v);
#endif
    std::memcpy(p, &v, sizeof v);
}

// Turns each row of crossing flips into its interior: every bit becomes the parity of itself and all bits left of
// it in the same row, eight bytes at a time.
void FillSpansFromCrossings(uint8_t* rows, size_t stride, int32_t h) {
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = rows + static_cast<size_t>(y) * stride;
        uint64_t carry = 0; // all ones while the row is inside at the end of the previous word
        size_t i = 0;
        for (; i + 8 <= stride; i += 8) {
            const uint64_t filled = RunningParity64(LoadBigEndian64(row + i)) ^ carry;
            StoreBigEndian64(row + i, filled);
            carry = 0 - (filled & 1);
        }
        for (; i < stride; ++i) {
            const uint8_t filled = static_cast<uint8_t>(RunningParity8(row[i]) ^ carry);
            row[i] = filled;
            carry = 0 - static_cast<uint64_t>(filled & 1);
        }
    }
}

// The one-pixel outline of one edge in bit 0, by the platform's Bresenham walk: start drawn, end left to the next
// edge. Where the error term lands exactly halfway, the direction decides (the same octants take a bias as in the
// platform's line drawing), so that an edge covers the same pixels whichever way it is walked. The steps are
// chosen by masks, not branches: whether a step goes across is as good as random from pixel to pixel. kClipped walks
// an edge that leaves the image and skips the pixels outside it.
template <bool kClipped>
void ClearEdge(SpiralPoint a, SpiralPoint b, int32_t w, int32_t h, uint8_t* rows, size_t stride) {
    const int32_t dx = b.x - a.x, dy = b.y - a.y;
    const int32_t adx = std::abs(dx), ady = std::abs(dy);
    const bool xMajor = adx > ady;
    // Octants counted from +x towards +y (down on screen); 3, 5, 6 and 8 round halfway cases the other way.
    const bool bias = dy > 0 ? (dx <= 0 && -dx <= dy) : (dx < 0 || dx > -dy);
    const int32_t threshold = bias ? -1 : 0; // a step across when err + bias > 0
    const int32_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    const int32_t errDiagonal = 2 * minor - 2 * major, errStraight = 2 * minor;
    int32_t err = 2 * minor - major;
    const int32_t xDir = dx > 0 ? 1 : -1, yDir = dy > 0 ? 1 : -1;
    const ptrdiff_t rowStep = dy > 0 ? static_cast<ptrdiff_t>(stride) : -static_cast<ptrdiff_t>(stride);
    int32_t x = a.x, y = a.y;
    ptrdiff_t row = static_cast<ptrdiff_t>(y) * static_cast<ptrdiff_t>(stride); // offset of row y
    for (int32_t n = 0; n < major; ++n) {
        if (!kClipped || (static_cast<uint32_t>(x) < static_cast<uint32_t>(w) &&
                          static_cast<uint32_t>(y) < static_cast<uint32_t>(h)))
            rows[row + (x >> 3)] &= static_cast<uint8_t>(~(0x80u >> (x & 7)));
        const int32_t across = (threshold - err) >> 31; // all ones when err > threshold
        err += errStraight + (across & (errDiagonal - errStraight));
        if (xMajor) {
            x += xDir;
            y += yDir & across;
            row += rowStep & across;
        } else {
            x += xDir & across;
            y += yDir;
            row += rowStep;
        }
    }
}

void ClearOutline(SpiralPoint a, SpiralPoint b, int32_t w, int32_t h, uint8_t* rows, size_t stride) {
    const int32_t left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int32_t top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    if (right < 0 || left >= w || bottom < 0 || top >= h)
        return;
    if (left >= 0 && right < w && top >= 0 && bottom < h)
        ClearEdge<false>(a, b, w, h, rows, stride);
    else
        ClearEdge<true>(a, b, w, h, rows, stride);
}

} // namespace

size_t OneBitRowStride(int32_t w) {
    return w <= 0 ? 0 : static_cast<size_t>((w + 15) / 16) * 2;
}

void RasteriseSpiralPolygon(const SpiralPoint* vertices, int32_t count, int32_t w, int32_t h, uint8_t* rows) {
    if (w <= 0 || h <= 0)
        return;
    const size_t stride = OneBitRowStride(w);
    std::memset(rows, 0, stride * static_cast<size_t>(h));
    for (int32_t i = 0; i < count; ++i)
        FlipCrossings(vertices[i], vertices[i + 1 < count ? i + 1 : 0], w, h, rows, stride);
    FillSpansFromCrossings(rows, stride, h);
    // The outline goes over the interior, as the pen is drawn after the brush.
    for (int32_t i = 0; i < count; ++i)
        ClearOutline(vertices[i], vertices[i + 1 < count ? i + 1 : 0], w, h, rows, stride);
}
