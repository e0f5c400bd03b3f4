#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "render/spiral/SpiralGeometry.h"

namespace {

std::vector<SpiralPoint> Polygon(int a, const SpiralGeometry& g) {
    std::vector<SpiralPoint> v(g.VertexCount());
    BuildSpiralPolygon(a, g, v.data());
    return v;
}

struct GeometryCase {
    int w, h, D, R, offX, offY, cx, cy, vertices;
};

} // namespace

TEST(SpiralGeometry, ReferenceSizes) {
    const GeometryCase cases[] = {
        {152, 112, 190, 95, 19, 39, 76, 56, 2280},
        {640, 480, 802, 401, 81, 161, 320, 240, 9624},
        {800, 600, 1002, 501, 101, 201, 400, 300, 12024},
        {1024, 768, 1282, 641, 129, 257, 512, 384, 15384},
    };
    for (const GeometryCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        const SpiralGeometry g = ComputeSpiralGeometry(c.w, c.h);
        EXPECT_EQ(g.w, c.w);
        EXPECT_EQ(g.h, c.h);
        EXPECT_EQ(g.D, c.D);
        EXPECT_EQ(g.R, c.R);
        EXPECT_EQ(g.offX, c.offX);
        EXPECT_EQ(g.offY, c.offY);
        EXPECT_EQ(g.cx, c.cx);
        EXPECT_EQ(g.cy, c.cy);
        EXPECT_EQ(g.CurveVertices(), 3 * c.R);
        EXPECT_EQ(g.VertexCount(), c.vertices);
    }
}

TEST(SpiralGeometry, RoundingAddsHalfAndTruncatesTowardZero) {
    EXPECT_EQ(AddHalfAndTruncate(-1.4), 0);
    EXPECT_EQ(AddHalfAndTruncate(-1.6), -1);
    EXPECT_EQ(AddHalfAndTruncate(-0.5), 0);
    EXPECT_EQ(AddHalfAndTruncate(1.4), 1);
    EXPECT_EQ(AddHalfAndTruncate(1.5), 2);
    EXPECT_EQ(AddHalfAndTruncate(0.3333333333333333), 0);
}

TEST(SpiralGeometry, ClosingCornerIsNextCornerClockwiseFromTheSideOfTheOuterEnd) {
    const SpiralGeometry g = ComputeSpiralGeometry(152, 112);
    // Left of (or on) the left edge: top-left.
    EXPECT_EQ(ClosingCorner(g, {0, 50}), (SpiralPoint{-1, -1}));
    EXPECT_EQ(ClosingCorner(g, {-15, 200}), (SpiralPoint{-1, -1}));
    // Above (or on) the top edge: top-right.
    EXPECT_EQ(ClosingCorner(g, {1, 0}), (SpiralPoint{153, -1}));
    EXPECT_EQ(ClosingCorner(g, {300, -5}), (SpiralPoint{153, -1}));
    // Beside the area on the right (strictly between top and bottom): bottom-right.
    EXPECT_EQ(ClosingCorner(g, {167, 1}), (SpiralPoint{153, 113}));
    EXPECT_EQ(ClosingCorner(g, {167, 111}), (SpiralPoint{153, 113}));
    // Below (or on) the bottom edge: bottom-left.
    EXPECT_EQ(ClosingCorner(g, {53, 112}), (SpiralPoint{-1, 113}));
    EXPECT_EQ(ClosingCorner(g, {200, 147}), (SpiralPoint{-1, 113}));
}

TEST(SpiralPolygon, PreviewFrameZeroOuterEndsAndClosingCorners) {
    const SpiralGeometry g = ComputeSpiralGeometry(152, 112);
    const std::vector<SpiralPoint> v = Polygon(0, g);
    const int n = g.CurveVertices();
    const SpiralPoint ends[] = {{99, -35}, {53, 147}, {-15, 33}, {167, 79}};
    const SpiralPoint corners[] = {{153, -1}, {-1, 113}, {-1, -1}, {153, 113}};
    for (int b = 0; b < 4; ++b) {
        const int s = g.BlockVertices() * b;
        EXPECT_EQ(v[s + n - 1], ends[b]) << "block " << b;
        EXPECT_EQ(v[s + n], corners[b]) << "block " << b;
    }
}

TEST(SpiralPolygon, VgaFrameZeroClosingCorners) {
    const SpiralGeometry g = ComputeSpiralGeometry(640, 480);
    const std::vector<SpiralPoint> v = Polygon(0, g);
    const SpiralPoint corners[] = {{-1, 481}, {641, -1}, {641, 481}, {-1, -1}};
    for (int b = 0; b < 4; ++b)
        EXPECT_EQ(v[g.BlockVertices() * b + g.CurveVertices()], corners[b]) << "block " << b;
}

TEST(SpiralPolygon, EveryBlockStartsAndEndsOnTheCentreForAllSizesAndFrames) {
    for (const auto& size : {std::pair<int, int>{152, 112}, {640, 480}, {800, 600}, {1024, 768}}) {
        const SpiralGeometry g = ComputeSpiralGeometry(size.first, size.second);
        const SpiralPoint c{g.cx, g.cy};
        for (int k = 0; k < kSpiralFrameCount; ++k) {
            SCOPED_TRACE(testing::Message() << size.first << "x" << size.second << " frame " << k);
            const std::vector<SpiralPoint> v = Polygon(k * kSpiralDegreesPerFrame, g);
            ASSERT_EQ(static_cast<int>(v.size()), g.VertexCount());
            for (int b = 0; b < 4; ++b) {
                const int s = g.BlockVertices() * b;
                EXPECT_EQ(v[s], c);
                EXPECT_EQ(v[s + 1], c); // radius 1/3 rounds to nothing
                EXPECT_EQ(v[s + g.BlockVertices() - 1], c);
                // The closing corner lies one pixel outside the client area.
                const SpiralPoint corner = v[s + g.CurveVertices()];
                EXPECT_TRUE(corner.x == -1 || corner.x == g.w + 1);
                EXPECT_TRUE(corner.y == -1 || corner.y == g.h + 1);
            }
        }
    }
}

TEST(SpiralPolygon, CurvesAreContinuousAndArmsAreQuarterTurnsOfEachOther) {
    const SpiralGeometry g = ComputeSpiralGeometry(800, 600);
    const std::vector<SpiralPoint> v = Polygon(12, g);
    const int n = g.CurveVertices();
    const int block = g.BlockVertices();
    // Neighbouring vertices are one degree and a third of a pixel apart: at radius r that is an arc of
    // r * pi / 180, plus up to one pixel of rounding in each coordinate.
    for (int b = 0; b < 4; ++b) {
        const int s = block * b;
        for (int i = 1; i < block; ++i) {
            if (i == n || i == n + 1)
                continue; // the jumps to and from the closing corner
            const double radius = (i < n ? i : block - 1 - i) / 3.0;
            const double step = radius * 0.0175 + 0.34 + 1.0;
            EXPECT_LE(std::abs(v[s + i].x - v[s + i - 1].x), step) << "vertex " << s + i;
            EXPECT_LE(std::abs(v[s + i].y - v[s + i - 1].y), step) << "vertex " << s + i;
        }
    }
    // Block 1 is block 0 turned by 180 degrees, block 2 by 90 counter-clockwise, block 3 by 90 clockwise.
    for (int i = 0; i < n; ++i) {
        const int x = v[i].x - g.cx, y = v[i].y - g.cy;
        EXPECT_EQ(v[block + i], (SpiralPoint{g.cx - x, g.cy - y}));
        EXPECT_EQ(v[2 * block + i], (SpiralPoint{g.cx + y, g.cy - x}));
        EXPECT_EQ(v[3 * block + i], (SpiralPoint{g.cx - y, g.cy + x}));
    }
}

TEST(SpiralPolygon, OutgoingCurveFollowsOneThirdPixelPerDegree) {
    const SpiralGeometry g = ComputeSpiralGeometry(640, 480);
    const std::vector<SpiralPoint> v = Polygon(0, g);
    EXPECT_EQ(v[2], (SpiralPoint{g.cx + 1, g.cy}));
    // Vertex 90 of block 0 is at 90 degrees (straight down on screen), 30 pixels out.
    EXPECT_EQ(v[90], (SpiralPoint{g.cx, g.cy + 30}));
    // Vertex 180: 180 degrees, 60 pixels out to the left; -60 + 0.5 truncates to -59.
    EXPECT_EQ(v[180], (SpiralPoint{g.cx - 59, g.cy}));
    // The return curve starts 45 degrees later: its vertex j = 45 is at 90 degrees, 15 pixels out, so along
    // the ray pointing down the arm spans radii 15 to 30 there.
    EXPECT_EQ(v[g.BlockVertices() - 1 - 45], (SpiralPoint{g.cx, g.cy + 15}));
    // Frame 1 (a = 6): the same vertex index lies 6 degrees further round.
    const std::vector<SpiralPoint> f1 = Polygon(6, g);
    EXPECT_EQ(f1[84], (SpiralPoint{g.cx, g.cy + 28}));
}
