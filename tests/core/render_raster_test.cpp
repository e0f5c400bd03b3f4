// The spiral rasteriser: its pixel conventions on small polygons, whole frames against an independent even-odd
// rasteriser, and the shape of the arms along rays from frame to frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "render/spiral/SpiralRaster.h"
#include "spiral_oracle.h"

namespace {

// Rasterises into rows that start out holding garbage, and returns the bit values of the w x h pixels.
std::vector<uint8_t> Rasterise(const std::vector<SpiralPoint>& v, int w, int h) {
    std::vector<uint8_t> rows(OneBitRowStride(w) * h, 0xA5);
    RasteriseSpiralPolygon(v.data(), static_cast<int32_t>(v.size()), w, h, rows.data());
    return oracle::UnpackRows(rows, w, h);
}

// Rows of '#' (1) and '.' (0), one line each.
std::string Picture(const std::vector<uint8_t>& bits, int w, int h) {
    std::string s;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            s += bits[static_cast<size_t>(y) * w + x] ? '#' : '.';
        s += '\n';
    }
    return s;
}

oracle::SpiralImages RasteriseFrames(int w, int h) {
    oracle::SpiralImages f{ComputeSpiralGeometry(w, h), {}};
    std::vector<SpiralPoint> v(f.g.VertexCount());
    for (int k = 0; k < kSpiralFrameCount; ++k) {
        BuildSpiralPolygon(k * kSpiralDegreesPerFrame, f.g, v.data());
        f.bits.push_back(Rasterise(v, w, h));
    }
    return f;
}

} // namespace

TEST(SpiralRaster, InteriorUnderEvenOddWithOutlineOnTop) {
    struct Case {
        const char* what;
        int w, h;
        std::vector<SpiralPoint> v;
        const char* expected;
    };
    const Case cases[] = {
        // Left and top boundaries belong to the interior, right and bottom ones do not; the outline covers
        // every edge, each from its start vertex up to the next.
        {"rectangle",
         8,
         6,
         {{1, 1}, {5, 1}, {5, 4}, {1, 4}},
         "........\n"
         "........\n"
         "..###...\n"
         "..###...\n"
         "........\n"
         "........\n"},
        // One polygon round the whole image and again round a square inside, the same way round: the square is
        // covered twice, so it is outside. The bridge between the two laps cancels in the interior but has its
        // outline; edges outside the image draw nothing.
        {"second lap",
         8,
         6,
         {{-1, -1}, {9, -1}, {9, 7}, {-1, 7}, {-1, -1}, {2, 2}, {6, 2}, {6, 5}, {2, 5}, {2, 2}},
         ".#######\n"
         "#.######\n"
         "##.....#\n"
         "##.....#\n"
         "##.....#\n"
         "##.....#\n"},
        // Edges along the first row and column have their outline too.
        {"corner", 6, 4, {{0, 0}, {4, 0}, {4, 3}, {0, 3}}, "......\n.###..\n.###..\n......\n"},
        // Slopes of one half, where the pen's step lands halfway: edges going up step across there, going down not.
        {"diamond",
         11,
         6,
         {{1, 3}, {5, 1}, {9, 3}, {5, 5}},
         "...........\n...........\n....###....\n...#####...\n.....#.....\n...........\n"},
        // Edges that enter from above cross the first row where they would have without the cut.
        {"from above",
         12,
         4,
         {{2, -2}, {8, -2}, {14, 4}, {8, 4}},
         ".....#####..\n......#####.\n.......#####\n........####\n"},
        {"no columns", 0, 2, {{-3, 0}, {-1, 0}, {-1, 2}, {-3, 2}}, "\n\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Picture(Rasterise(c.v, c.w, c.h), c.w, c.h), c.expected) << c.what;
}

TEST(SpiralRaster, FramesAgreeWithIndependentEvenOddRasteriserAwayFromEdges) {
    // 201 x 77: rows that end inside a word, with padding.
    for (const auto& size : {std::pair<int, int>{152, 112}, {320, 240}, {201, 77}}) {
        const oracle::SpiralImages f = RasteriseFrames(size.first, size.second);
        for (int k = 0; k < kSpiralFrameCount; ++k) {
            SCOPED_TRACE(testing::Message() << size.first << "x" << size.second << " frame " << k);
            std::vector<SpiralPoint> v(f.g.VertexCount());
            BuildSpiralPolygon(k * kSpiralDegreesPerFrame, f.g, v.data());
            const std::vector<uint8_t> expected = oracle::RasteriseEvenOdd(v, f.g.w, f.g.h);
            const std::vector<uint8_t> band = oracle::EdgeBand(v, f.g.w, f.g.h, 1.5);
            size_t compared = 0, differing = 0, ones = 0;
            for (size_t i = 0; i < expected.size(); ++i) {
                if (band[i])
                    continue;
                ++compared;
                ones += expected[i];
                differing += expected[i] != f.bits[k][i];
            }
            EXPECT_EQ(differing, 0u);
            // Most of the area is compared, and both values occur in it.
            EXPECT_GT(compared, expected.size() / 3);
            EXPECT_GT(ones, compared / 4);
            EXPECT_LT(ones, compared * 3 / 4);
        }
    }
}

TEST(SpiralRaster, RaysCrossFifteenPixelArmsAndGaps) {
    const oracle::SpiralImages f = RasteriseFrames(640, 480);
    for (int k : {0, 7, 14}) {
        for (double angle : oracle::kRayAngles) {
            SCOPED_TRACE(testing::Message() << "frame " << k << " ray " << angle);
            const std::vector<uint8_t> ray = oracle::Ray(f, k, angle);
            // Runs of equal bits beyond the crowded centre; the first and last are cut by the limits.
            std::vector<std::pair<int, int>> runs; // (bit, length)
            for (size_t r = 20; r < ray.size(); ++r) {
                if (runs.empty() || ray[r] != ray[r - 1])
                    runs.push_back({ray[r], 0});
                ++runs.back().second;
            }
            ASSERT_GE(runs.size(), 6u);
            int arm = 0, gap = 0, arms = 0, gaps = 0;
            for (size_t i = 1; i + 1 < runs.size(); ++i) {
                EXPECT_GE(runs[i].second, 12) << "run " << i;
                EXPECT_LE(runs[i].second, 18) << "run " << i;
                (runs[i].first ? arm : gap) += runs[i].second;
                ++(runs[i].first ? arms : gaps);
            }
            // An arm and a gap together span 30 pixels (15 + 15; the outline moves a pixel from arm to gap).
            EXPECT_NEAR(static_cast<double>(arm) / arms + static_cast<double>(gap) / gaps, 30.0, 1.0);
        }
    }
}

TEST(SpiralRaster, EachFrameMovesArmsTwoPixelsInwardIncludingLastToFirst) {
    const oracle::SpiralImages f = RasteriseFrames(640, 480);
    for (int k = 0; k < kSpiralFrameCount; ++k) {
        const int next = (k + 1) % kSpiralFrameCount;
        SCOPED_TRACE(testing::Message() << "frame " << k << " to " << next);
        double shift = 0;
        int matched = 0;
        for (double angle : oracle::kRayAngles) {
            const std::vector<int> now = oracle::ArmStarts(oracle::Ray(f, k, angle), 40);
            const std::vector<int> then = oracle::ArmStarts(oracle::Ray(f, next, angle), 30);
            for (int r : now) {
                // The same arm edge in the next frame: the closest edge start.
                int best = 1000;
                for (int s : then)
                    if (std::abs(r - s) < std::abs(r - best))
                        best = s;
                EXPECT_GE(r - best, 0) << "ray " << angle << " radius " << r;
                EXPECT_LE(r - best, 4) << "ray " << angle << " radius " << r;
                shift += r - best;
                ++matched;
            }
        }
        ASSERT_GT(matched, 20);
        EXPECT_NEAR(shift / matched, 2.0, 0.5);
    }
}
