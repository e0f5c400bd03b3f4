// The spiral frame images: made from the rasteriser's rows, compared with the platform's own polygon fill, and
// as presented on a real window; the loading text's overdraw; stop and out-of-memory during building. The shape
// of the frames themselves is checked in the portable tests of the rasteriser.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "PlatformPolygon.h"
#include "RenderTestSupport.h"
#include "TestSupport.h"
#include "render/LoadingScreen.h"
#include "render/MonitorTargets.h"
#include "render/spiral/SpiralFrames.h"
#include "render/spiral/SpiralRaster.h"
#include "saver/FullScreenWnd.h"
#include "spiral_oracle.h"

namespace {

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
};

// The bit values of the polygon as the rasteriser draws it.
std::vector<uint8_t> RasterisedBits(const std::vector<SpiralPoint>& v, int w, int h) {
    std::vector<uint8_t> rows(OneBitRowStride(w) * h);
    RasteriseSpiralPolygon(v.data(), static_cast<int32_t>(v.size()), w, h, rows.data());
    return oracle::UnpackRows(rows, w, h);
}

// The bit values of the polygon as the platform's polygon fill draws it.
std::vector<uint8_t> PlatformBits(const std::vector<SpiralPoint>& v, int w, int h) {
    HDC screen = ::GetDC(nullptr);
    HDC memDC = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HBITMAP image = ::CreateBitmap(w, h, 1, 1, nullptr);
    const HGDIOBJ initial = ::SelectObject(memDC, image);
    DrawWithPlatformPolygon(memDC, v.data(), static_cast<int>(v.size()), w, h);
    ::SelectObject(memDC, initial);
    ::DeleteDC(memDC);
    std::vector<uint8_t> bits = rt::BitmapBits(image, w, h);
    ::DeleteObject(image);
    return bits;
}

size_t CountDiffering(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    size_t n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        n += a[i] != b[i];
    return n;
}

} // namespace

TEST(SpiralFrames, ImagesHoldTheRasterisedPolygons) {
    // 152 pixels: rows padded to a whole 16-bit word, which the image must not take for pixels.
    for (const auto& size : {std::pair<int, int>{152, 112}, {640, 480}}) {
        BuiltFrames f(size.first, size.second);
        ASSERT_EQ(f.set.BuiltCount(), kSpiralFrameCount);
        for (int k = 0; k < kSpiralFrameCount; ++k) {
            std::vector<SpiralPoint> v(f.g.VertexCount());
            BuildSpiralPolygon(k * kSpiralDegreesPerFrame, f.g, v.data());
            EXPECT_EQ(CountDiffering(f.bits[k], RasterisedBits(v, f.g.w, f.g.h)), 0u)
                << size.first << "x" << size.second << " frame " << k;
        }
    }
}

TEST(SpiralFrames, RasteriserAgreesWithThePlatformPolygonFill) {
    const SpiralGeometry g = ComputeSpiralGeometry(640, 480);
    std::vector<SpiralPoint> v(g.VertexCount());
    for (int k = 0; k < kSpiralFrameCount; ++k) {
        BuildSpiralPolygon(k * kSpiralDegreesPerFrame, g, v.data());
        const size_t differing = CountDiffering(RasterisedBits(v, g.w, g.h), PlatformBits(v, g.w, g.h));
        EXPECT_LE(differing, static_cast<size_t>(g.w) * g.h / 200) << "frame " << k; // at least 99.5% agree
        RecordProperty("differing_pixels_frame_" + std::to_string(k), static_cast<int>(differing));
    }
    // Small polygons, self-crossing and reaching beyond the image, pixel for pixel: the rasteriser follows the
    // platform's rules for which boundary pixels are inside and for the pen's steps.
    std::mt19937 random(7);
    const auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int t = 0; t < 200; ++t) {
        const int w = 5 + below(40), h = 5 + below(40);
        std::vector<SpiralPoint> p(3 + below(8));
        for (SpiralPoint& q : p)
            q = {below(w + 10) - 5, below(h + 10) - 5};
        EXPECT_EQ(CountDiffering(RasterisedBits(p, w, h), PlatformBits(p, w, h)), 0u) << "polygon " << t;
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
    const MonitorLayout layout({}, w, h);
    loading.Show(dc, layout, PictureScreensOf(nullptr, layout), front, back);
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
            loading.Progress(k, kSpiralFrameCount);
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
    // 0: the off-screen surface; 1: the rows; 2 + 2k: vertex buffer of frame k; 3 + 2k: image of frame k.
    // (failing allocation, frame images seen by the progress steps before it)
    const std::pair<int, size_t> cases[] = {{0, 0}, {1, 0},  {2, 0},   {3, 0},  {4, 0},
                                            {9, 3}, {18, 7}, {30, 13}, {31, 14}};
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

TEST(SpiralFrames, EveryMonitorShowsTheSameFrameOfItsOwnSizeAlsoAfterTheDisplayLayoutChanges) {
    const int w = 500, h = 600; // each monitor
    const BuiltFrames frames(w, h);
    // The system's desk at first; from the first change of the layout on, two monitors side by side.
    int reads = 0;
    const auto readDesk = [&reads] {
        return reads++ == 0 ? ReadDeskLayout() : DeskLayout{RECT{0, 0, 2 * w, h}, {{0, 0, w, h}, {w, 0, w, h}}};
    };
    wt::TempDir dir;
    auto* wnd = new CFullScreenWnd(dir.File("defaults.ini"), {}, readDesk);
    ASSERT_TRUE(wnd->CreateFullScreen());
    const HWND hwnd = wnd->m_hWnd;
    ASSERT_TRUE(wt::WaitUntil([hwnd] { return ::IsWindowVisible(hwnd) != FALSE; }));
    ::SendMessageA(hwnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(2 * w, h));
    // The pointer stayed, its client position did not: it is no reference any more.
    EXPECT_EQ(wnd->MouseReference().x, -1);
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    EXPECT_TRUE(rc.left == 0 && rc.top == 0 && rc.right == 2 * w && rc.bottom == h);
    // The default colours: arms (bit 1) white, gaps black; both monitors hold one whole frame, the same one.
    const auto sameFrameOnBoth = [&] {
        const std::vector<uint32_t> px = rt::ReadWindowPixels(hwnd, 2 * w, h);
        for (const std::vector<uint8_t>& bits : frames.bits) {
            size_t wrong = 0;
            for (size_t i = 0; i < bits.size() && wrong == 0; ++i) {
                const uint32_t want = bits[i] ? 0xFFFFFF : 0;
                const size_t row = i / w * 2 * w, x = i % w;
                wrong += (px[row + x] != want) + (px[row + w + x] != want);
            }
            if (wrong == 0)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(wt::WaitUntil(sameFrameOnBoth, 60000));
    // It still ends on input: a key asks for the close.
    ::SendMessageA(hwnd, WM_KEYDOWN, 'A', 1);
    MSG m;
    EXPECT_TRUE(::PeekMessageA(&m, hwnd, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    ::DestroyWindow(hwnd);
    while (::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}
