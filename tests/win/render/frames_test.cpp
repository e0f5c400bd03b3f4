// The spiral frames built by GDI, checked against an independent even-odd rasteriser, along rays, and as
// presented on a real window; the loading text's overdraw; stop and out-of-memory during building.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "RenderTestSupport.h"
#include "TestSupport.h"
#include "render/LoadingScreen.h"
#include "render/SpiralFrames.h"

namespace {

// Even-odd fill of the polygon sampled at pixel centres: 1 inside, 0 outside.
std::vector<uint8_t> RasteriseEvenOdd(const std::vector<SpiralPoint>& v, int w, int h) {
    std::vector<uint8_t> out(static_cast<size_t>(w) * h, 0);
    std::vector<double> xs;
    for (int y = 0; y < h; ++y) {
        const double sy = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < v.size(); ++i) {
            const SpiralPoint a = v[i], b = v[(i + 1) % v.size()];
            if ((a.y <= sy) != (b.y <= sy))
                xs.push_back(a.x + (sy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = std::max(0, static_cast<int>(std::ceil(xs[i] - 0.5))); x < w && x + 0.5 < xs[i + 1]; ++x)
                out[static_cast<size_t>(y) * w + x] = 1;
    }
    return out;
}

// Pixels whose centre lies within radius of an edge of the polygon: where rasterisers may differ.
std::vector<uint8_t> EdgeBand(const std::vector<SpiralPoint>& v, int w, int h, double radius) {
    std::vector<uint8_t> band(static_cast<size_t>(w) * h, 0);
    for (size_t i = 0; i < v.size(); ++i) {
        const SpiralPoint a = v[i], b = v[(i + 1) % v.size()];
        const int x0 = std::max(0, static_cast<int>(std::min(a.x, b.x) - radius - 1));
        const int x1 = std::min(w - 1, static_cast<int>(std::max(a.x, b.x) + radius + 1));
        const int y0 = std::max(0, static_cast<int>(std::min(a.y, b.y) - radius - 1));
        const int y1 = std::min(h - 1, static_cast<int>(std::max(a.y, b.y) + radius + 1));
        const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5 - a.x, py = y + 0.5 - a.y;
                const double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
                const double ex = px - t * dx, ey = py - t * dy;
                if (ex * ex + ey * ey <= radius * radius)
                    band[static_cast<size_t>(y) * w + x] = 1;
            }
    }
    return band;
}

// Frames built on the screen's device context.
struct BuiltFrames {
    SpiralGeometry g;
    CSpiralFrameSet set;
    std::vector<std::vector<uint8_t>> bits;

    BuiltFrames(int w, int h) : g(ComputeSpiralGeometry(w, h)) {
        HDC screen = ::GetDC(nullptr);
        const BuildResult r = set.BuildSpiralFrames(
            screen, g, [](int) {}, [] { return false; });
        ::ReleaseDC(nullptr, screen);
        EXPECT_EQ(r, BuildResult::Built);
        for (int k = 0; k < set.BuiltCount(); ++k)
            bits.push_back(rt::BitmapBits(set.Frame(k), w, h));
    }
    uint8_t Bit(int k, int x, int y) const { return bits[k][static_cast<size_t>(y) * g.w + x]; }
};

// Bits along a ray from the centre, one sample per pixel of radius, from radius 0 until the client edge.
std::vector<uint8_t> Ray(const BuiltFrames& f, int k, double degrees) {
    std::vector<uint8_t> out;
    const double t = degrees * 3.141592653589793 / 180;
    for (int r = 0;; ++r) {
        const int x = static_cast<int>(std::floor(f.g.cx + r * std::cos(t) + 0.5));
        const int y = static_cast<int>(std::floor(f.g.cy + r * std::sin(t) + 0.5));
        if (x < 0 || y < 0 || x >= f.g.w || y >= f.g.h)
            return out;
        out.push_back(f.Bit(k, x, y));
    }
}

// Radii at which a ray enters an arm (bit 0 to bit 1), beyond minRadius.
std::vector<int> ArmStarts(const std::vector<uint8_t>& ray, int minRadius) {
    std::vector<int> starts;
    for (size_t r = std::max(1, minRadius); r < ray.size(); ++r)
        if (ray[r - 1] == 0 && ray[r] == 1)
            starts.push_back(static_cast<int>(r));
    return starts;
}

const double kRayAngles[] = {10, 37, 100, 163, 200, 251, 290, 333};

} // namespace

TEST(SpiralFrames, AgreeWithIndependentEvenOddRasteriserAwayFromEdges) {
    for (const auto& size : {std::pair<int, int>{152, 112}, {320, 240}}) {
        BuiltFrames f(size.first, size.second);
        ASSERT_EQ(f.set.BuiltCount(), kSpiralFrameCount);
        for (int k = 0; k < kSpiralFrameCount; ++k) {
            SCOPED_TRACE(testing::Message() << size.first << "x" << size.second << " frame " << k);
            std::vector<SpiralPoint> v(f.g.VertexCount());
            BuildSpiralPolygon(k * kSpiralDegreesPerFrame, f.g, v.data());
            const std::vector<uint8_t> oracle = RasteriseEvenOdd(v, f.g.w, f.g.h);
            const std::vector<uint8_t> band = EdgeBand(v, f.g.w, f.g.h, 1.5);
            size_t compared = 0, differing = 0, ones = 0;
            for (size_t i = 0; i < oracle.size(); ++i) {
                if (band[i])
                    continue;
                ++compared;
                ones += oracle[i];
                differing += oracle[i] != f.bits[k][i];
            }
            EXPECT_EQ(differing, 0u);
            // Most of the area is compared, and both values occur in it.
            EXPECT_GT(compared, oracle.size() / 3);
            EXPECT_GT(ones, compared / 4);
            EXPECT_LT(ones, compared * 3 / 4);
        }
    }
}

TEST(SpiralFrames, RaysCrossFifteenPixelArmsAndGaps) {
    BuiltFrames f(640, 480);
    for (int k : {0, 7, 14}) {
        for (double angle : kRayAngles) {
            SCOPED_TRACE(testing::Message() << "frame " << k << " ray " << angle);
            const std::vector<uint8_t> ray = Ray(f, k, angle);
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

TEST(SpiralFrames, EachFrameMovesArmsTwoPixelsInwardIncludingLastToFirst) {
    BuiltFrames f(640, 480);
    for (int k = 0; k < kSpiralFrameCount; ++k) {
        const int next = (k + 1) % kSpiralFrameCount;
        SCOPED_TRACE(testing::Message() << "frame " << k << " to " << next);
        double shift = 0;
        int matched = 0;
        for (double angle : kRayAngles) {
            const std::vector<int> now = ArmStarts(Ray(f, k, angle), 40);
            const std::vector<int> then = ArmStarts(Ray(f, next, angle), 30);
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

TEST(SpiralFrames, PresentedInWindowColoursArmsBackGapsFront) {
    const int w = 160, h = 120;
    rt::CTestWindow window(w, h);
    HDC dc = ::GetDC(window.Handle());
    CSpiralFrameSet set;
    ASSERT_EQ(set.BuildSpiralFrames(
                  dc, ComputeSpiralGeometry(w, h), [](int) {}, [] { return false; }),
              BuildResult::Built);
    const COLORREF front = RGB(0x20, 0x40, 0xC0), back = RGB(0xF0, 0xE0, 0x10);
    ::SetTextColor(dc, front);
    ::SetBkColor(dc, back);
    for (int k : {0, 8, 14}) {
        set.PresentSpiralFrame(k, dc);
        ::GdiFlush();
        const std::vector<uint32_t> pixels = rt::ReadWindowPixels(window.Handle(), w, h);
        const std::vector<uint8_t> bits = rt::BitmapBits(set.Frame(k), w, h);
        size_t wrong = 0, arms = 0;
        for (size_t i = 0; i < pixels.size(); ++i) {
            wrong += pixels[i] != (bits[i] ? rt::Rgb(back) : rt::Rgb(front));
            arms += bits[i];
        }
        EXPECT_EQ(wrong, 0u) << "frame " << k;
        EXPECT_GT(arms, pixels.size() / 4);
    }
    // Equal colours: one flat colour, whatever the frame.
    const COLORREF same = RGB(0x11, 0x88, 0x44);
    ::SetTextColor(dc, same);
    ::SetBkColor(dc, same);
    set.PresentSpiralFrame(5, dc);
    ::GdiFlush();
    for (uint32_t p : rt::ReadWindowPixels(window.Handle(), w, h))
        ASSERT_EQ(p, rt::Rgb(same));
    set.Release();
    ::ReleaseDC(window.Handle(), dc);
}

TEST(LoadingScreen, TextInvertedThenOverdrawnLetterByLetterBeforeEachFrameImage) {
    const int w = 320, h = 240;
    rt::CTestWindow window(w, h);
    HDC dc = ::GetDC(window.Handle());
    const COLORREF front = RGB(0x10, 0x20, 0x90), back = RGB(0xE0, 0xD0, 0x30);
    CLoadingScreen loading;
    loading.Show(dc, w, h, front, back);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, kLoadingText, kLoadingTextLength, &extent);
    EXPECT_EQ(loading.Origin().x, (w - extent.cx) / 2);
    EXPECT_EQ(loading.Origin().y, (h - extent.cy) / 2);
    ::GdiFlush();
    const std::vector<uint32_t> before = rt::ReadWindowPixels(window.Handle(), w, h);
    const TextOrigin o = loading.Origin();
    // The whole text box: BackColor letters on FrontColor, both present.
    size_t letterPixels = 0;
    for (int y = o.y; y < o.y + extent.cy; ++y)
        for (int x = o.x; x < o.x + extent.cx; ++x) {
            const uint32_t p = before[static_cast<size_t>(y) * w + x];
            ASSERT_TRUE(p == rt::Rgb(front) || p == rt::Rgb(back)) << x << "," << y;
            letterPixels += p == rt::Rgb(back);
        }
    EXPECT_GT(letterPixels, 50u);

    // Build real frames; each progress step must come before its frame's image and cover exactly k letters.
    CSpiralFrameSet set;
    std::vector<int> builtAtStep;
    const BuildResult r = set.BuildSpiralFrames(
        dc, ComputeSpiralGeometry(w, h),
        [&](int k) {
            builtAtStep.push_back(set.BuiltCount());
            loading.Progress(k);
            ::GdiFlush();
            SIZE done{};
            ::GetTextExtentPoint32A(dc, kLoadingText, k, &done);
            const std::vector<uint32_t> now = rt::ReadWindowPixels(window.Handle(), w, h);
            size_t wrong = 0;
            for (int y = o.y; y < o.y + extent.cy; ++y)
                for (int x = o.x; x < o.x + extent.cx; ++x) {
                    const size_t i = static_cast<size_t>(y) * w + x;
                    const uint32_t inverted = before[i] == rt::Rgb(front) ? rt::Rgb(back) : rt::Rgb(front);
                    wrong += now[i] != (x < o.x + done.cx ? inverted : before[i]);
                }
            EXPECT_EQ(wrong, 0u) << "step " << k;
        },
        [] { return false; });
    EXPECT_EQ(r, BuildResult::Built);
    ASSERT_EQ(builtAtStep.size(), static_cast<size_t>(kSpiralFrameCount));
    for (int k = 0; k < kSpiralFrameCount; ++k)
        EXPECT_EQ(builtAtStep[k], k);
    set.Release();
    loading.Restore();
    ::ReleaseDC(window.Handle(), dc);
}

TEST(SpiralFrames, StopEndsBuildingAfterTheCurrentFrame) {
    const SpiralGeometry g = ComputeSpiralGeometry(152, 112);
    HDC screen = ::GetDC(nullptr);
    CSpiralFrameSet set;
    int asked = 0;
    EXPECT_EQ(set.BuildSpiralFrames(
                  screen, g, [](int) {}, [&asked] { return ++asked > 4; }),
              BuildResult::Stopped);
    EXPECT_EQ(set.BuiltCount(), 4); // asked before frame 0 and after frames 0..3
    EXPECT_EQ(set.Frame(4), nullptr);
    int steps = 0;
    EXPECT_EQ(set.BuildSpiralFrames(
                  screen, g, [&steps](int) { ++steps; }, [] { return true; }),
              BuildResult::Stopped);
    EXPECT_EQ(set.BuiltCount(), 0);
    EXPECT_EQ(steps, 0);
    ::ReleaseDC(nullptr, screen);
}

TEST(SpiralFrames, FailedAllocationReleasesEverythingBuiltSoFar) {
    const SpiralGeometry g = ComputeSpiralGeometry(152, 112);
    HDC screen = ::GetDC(nullptr);
    // 0: the off-screen surface; 1 + 2k: vertex buffer of frame k; 2 + 2k: image of frame k.
    // (failing allocation, frame images seen by the progress steps before it)
    const std::pair<int, size_t> cases[] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {8, 3}, {17, 7}, {29, 13}, {30, 14}};
    for (const auto& [failing, seen] : cases) {
        SCOPED_TRACE(testing::Message() << "allocation " << failing);
        CSpiralFrameSet set(SpiralAllocationFault{failing});
        std::vector<HBITMAP> made;
        const BuildResult r = set.BuildSpiralFrames(
            screen, g,
            [&](int k) {
                if (k > 0)
                    made.push_back(set.Frame(k - 1));
            },
            [] { return false; });
        EXPECT_EQ(r, BuildResult::OutOfMemory);
        EXPECT_EQ(set.BuiltCount(), 0);
        EXPECT_EQ(made.size(), seen);
        for (HBITMAP b : made)
            EXPECT_EQ(::GetObjectType(b), 0u) << "a frame image was left behind";
        // The set can be built again afterwards.
        EXPECT_EQ(set.BuildSpiralFrames(
                      screen, g, [](int) {}, [] { return false; }),
                  BuildResult::Built);
    }
    ::ReleaseDC(nullptr, screen);
}
