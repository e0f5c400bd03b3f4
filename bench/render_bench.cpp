// Prints the rendering engine's figures under the real platform: frame building (the saver's own rasteriser
// beside the platform's polygon fill) and presenting, the achieved frame interval, the same on desks of one and two
// monitors, picture decoding, folder listing and how fast a stop request ends the work in progress. The desks are
// windows as large as the desk: run it on a display of at least 5760 x 2160 for them to be on the screen whole.
#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "PlatformPolygon.h"
#include "TestSupport.h"
#include "fw/Gdi.h"
#include "render/DeskSpiral.h"
#include "render/FrameTiming.h"
#include "render/FrameWaits.h"
#include "render/picture/PictureFile.h"
#include "render/picture/PictureFolder.h"
#include "render/picture/PictureSource.h"
#include "render/spiral/SpiralFrames.h"
#include "saver/SaverWnd.h"
#include "settings/SettingsStore.h"

namespace {

HWND MakeWindow(int w, int h) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "WhorlixBench";
    ::RegisterClassA(&wc);
    HWND hwnd = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "WhorlixBench", "", WS_POPUP, 0, 0, w, h,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return hwnd;
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

// Runs work on a thread, requests a stop after delayMs, and returns the time from the request to its end.
double StopLatency(const std::function<void(const std::atomic<LONG>&)>& work, double delayMs) {
    std::atomic<LONG> stop{0};
    struct Context {
        const std::function<void(const std::atomic<LONG>&)>* work;
        std::atomic<LONG>* stop;
    } ctx{&work, &stop};
    HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            Context* c = static_cast<Context*>(p);
            (*c->work)(*c->stop);
            return 0;
        },
        &ctx, 0, nullptr);
    ::SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    const double start = NowMs();
    while (NowMs() - start < delayMs)
        ::Sleep(1);
    const double requested = NowMs();
    stop.store(1);
    ::WaitForSingleObject(thread, INFINITE);
    const double latency = NowMs() - requested;
    ::CloseHandle(thread);
    return latency;
}

// The 15 frames drawn by the platform's polygon fill, one vertex buffer per frame, as the saver built them before
// it rasterised them itself: the yardstick for its own rasteriser.
void BuildFramesWithPlatformPolygon(HDC screen, const SpiralGeometry& g) {
    CMemDC memDC(screen);
    const HGDIOBJ initial = ::GetCurrentObject(memDC, OBJ_BITMAP);
    CBitmap frames[kSpiralFrameCount];
    for (int k = 0; k < kSpiralFrameCount; ++k) {
        std::vector<SpiralPoint> vertices(g.VertexCount());
        BuildSpiralPolygon(k * kSpiralDegreesPerFrame, g, vertices.data());
        frames[k].CreateBitmap(g.w, g.h, 1, 1, nullptr);
        ::SelectObject(memDC, frames[k]);
        DrawWithPlatformPolygon(memDC, vertices.data(), g.VertexCount(), g.w, g.h);
    }
    ::SelectObject(memDC, initial);
}

// Presenting one frame (present(k) draws frame k), median of 45, each present flushed to the surface.
double MedianPresentMs(const std::function<void(int)>& present) {
    std::vector<double> times;
    for (int i = 0; i < 45; ++i) {
        const double t0 = NowMs();
        present(i % kSpiralFrameCount);
        ::GdiFlush();
        times.push_back(NowMs() - t0);
    }
    return Median(times);
}

struct Interval {
    double median, p95, max;
};

// The render thread's paced loop presenting frames (present(k) draws frame k), as many frames as asked: with one
// wait a frame on a high-resolution timer, or, as where the system has none, in 1 ms steps.
Interval PacedIntervals(int speed, int frames, const std::function<void(int)>& present, bool fineTimer = true) {
    SaverSettings s;
    s.Speed = speed;
    const RenderTimings timings = RenderTimingsFrom(s);
    std::atomic<LONG> stop{0}, display{static_cast<LONG>(DisplayState::On)};
    const CHandle stopEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const CHandle displayChanged(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    const RenderSignals signals{stop, stopEvent.Get(), display, displayChanged.Get()};
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    CFrameWaits waits(signals, frequency.QuadPart, fineTimer);
    ::QueryPerformanceCounter(&counter);
    CFramePacer pacer(IntervalTicks(timings.frameIntervalMs, frequency.QuadPart), counter.QuadPart, waits.Kind(),
                      IntervalTicks(1, frequency.QuadPart));
    std::vector<double> intervals;
    double previous = NowMs();
    for (int i = 0; i <= frames; ++i) {
        pacer.Wait(
            [] {
                LARGE_INTEGER c;
                ::QueryPerformanceCounter(&c);
                return static_cast<int64_t>(c.QuadPart);
            },
            [&waits](int64_t ticks) { waits.WaitTicks(ticks); });
        const double now = NowMs();
        if (i > 0)
            intervals.push_back(now - previous);
        previous = now;
        present(i % kSpiralFrameCount);
    }
    return {Median(intervals), Percentile(intervals, 0.95), *std::max_element(intervals.begin(), intervals.end())};
}

struct DeskCase {
    const char* name;
    int32_t w, h; // the desk's bounding rectangle
    std::vector<MonitorRect> monitors;
};

const DeskCase kDesks[] = {
    {"1920 x 1080", 1920, 1080, {{0, 0, 1920, 1080}}},
    {"3840 x 2160", 3840, 2160, {{0, 0, 3840, 2160}}},
    {"1920 x 1080 + 1920 x 1080", 3840, 1080, {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}}},
    {"3840 x 2160 + 1920 x 1080", 5760, 2160, {{0, 0, 3840, 2160}, {3840, 540, 1920, 1080}}},
};

struct DeskFigures {
    double firstSpiral, present;
    Interval speed11, speed0;
};

DeskFigures MeasureDesk(const DeskCase& d) {
    DeskFigures f{};
    HWND window = MakeWindow(d.w, d.h);
    Pump();
    HDC dc = ::GetDC(window);
    const MonitorLayout layout(d.monitors, d.w, d.h);
    std::vector<double> times;
    for (int run = 0; run < 3; ++run) {
        CDeskSpiral spiral(layout);
        const double t0 = NowMs();
        spiral.Build(
            dc, [](int, int) {}, [] { return false; });
        spiral.Present(0, dc);
        ::GdiFlush();
        times.push_back(NowMs() - t0);
    }
    f.firstSpiral = Median(times);
    CDeskSpiral spiral(layout);
    spiral.Build(
        dc, [](int, int) {}, [] { return false; });
    const auto present = [&](int k) { spiral.Present(k, dc); };
    f.present = MedianPresentMs(present);
    f.speed11 = PacedIntervals(11, 300, present);
    f.speed0 = PacedIntervals(0, 300, present);
    ::ReleaseDC(window, dc);
    ::DestroyWindow(window);
    return f;
}

std::string MakeFolder(int files) {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    const std::string folder = std::string(base) + "whorlix_bench_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < files; ++i) {
        const std::string name = folder + "\\picture" + std::to_string(i) + (i % 2 ? ".jpg" : ".jpeg");
        HANDLE f =
            ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ::CloseHandle(f);
    }
    return folder;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do
            ::DeleteFileA((folder + "\\" + fd.cFileName).c_str());
        while (::FindNextFileA(find, &fd));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
}

} // namespace

int main() {
    const int sizes[][2] = {{640, 480}, {1920, 1080}, {3840, 2160}};
    HDC screen = ::GetDC(nullptr);

    // Building the 15 frames, median of 3 runs, by the platform's polygon fill and by the frame set's own
    // rasteriser, and presenting one frame into a screen-compatible image.
    double platformBuild[3], build[3], present[3], polygons[3];
    for (int s = 0; s < 3; ++s) {
        const SpiralGeometry g = ComputeSpiralGeometry(sizes[s][0], sizes[s][1]);
        std::vector<double> times;
        // The vertices alone, to tell the arithmetic from the drawing.
        std::vector<SpiralPoint> vertices(g.VertexCount());
        for (int run = 0; run < 3; ++run) {
            const double t0 = NowMs();
            for (int k = 0; k < kSpiralFrameCount; ++k)
                BuildSpiralPolygon(k * kSpiralDegreesPerFrame, g, vertices.data());
            times.push_back(NowMs() - t0);
        }
        polygons[s] = Median(times);
        times.clear();
        for (int run = 0; run < 3; ++run) {
            const double t0 = NowMs();
            BuildFramesWithPlatformPolygon(screen, g);
            times.push_back(NowMs() - t0);
        }
        platformBuild[s] = Median(times);
        times.clear();
        for (int run = 0; run < 3; ++run) {
            CSpiralFrameSet set;
            const double t0 = NowMs();
            set.BuildSpiralFrames(
                screen, g, [](int) {}, [] { return false; });
            times.push_back(NowMs() - t0);
        }
        build[s] = Median(times);
        CSpiralFrameSet set;
        set.BuildSpiralFrames(
            screen, g, [](int) {}, [] { return false; });
        HDC target = ::CreateCompatibleDC(screen);
        HBITMAP image = ::CreateCompatibleBitmap(screen, g.w, g.h);
        HGDIOBJ old = ::SelectObject(target, image);
        ::SetTextColor(target, RGB(0, 0, 0));
        ::SetBkColor(target, RGB(255, 255, 255));
        present[s] = MedianPresentMs([&](int k) { set.PresentSpiralFrame(k, target); });
        ::SelectObject(target, old);
        ::DeleteObject(image);
        ::DeleteDC(target);
    }

    // Presenting into a real window of 1024 x 768 (the whole screen here) and the paced frame interval.
    HWND window = MakeWindow(1024, 768);
    Pump();
    HDC wdc = ::GetDC(window);
    CSpiralFrameSet windowFrames;
    windowFrames.BuildSpiralFrames(
        wdc, ComputeSpiralGeometry(1024, 768), [](int) {}, [] { return false; });
    const auto presentInWindow = [&](int k) { windowFrames.PresentSpiralFrame(k, wdc); };
    const double presentWindow = MedianPresentMs(presentInWindow);
    const Interval speed0 = PacedIntervals(0, 300, presentInWindow);
    const Interval speed11 = PacedIntervals(11, 300, presentInWindow);
    const Interval speed40 = PacedIntervals(40, 150, presentInWindow);
    const Interval speed0Steps = PacedIntervals(0, 300, presentInWindow, false);
    const Interval speed11Steps = PacedIntervals(11, 300, presentInWindow, false);
    ::ReleaseDC(window, wdc);

    // Desks of one and of two monitors, each a window of the whole desk: the time to the first spiral on every
    // monitor (building the frames of each distinct size, then one present), a present on every monitor, and the
    // paced interval.
    std::vector<DeskFigures> desks;
    for (const DeskCase& d : kDesks)
        desks.push_back(MeasureDesk(d));

    // A 1920 x 1080 JPEG read, decoded and drawn into a 1920 x 1080 image, median of 10.
    const std::wstring photo = WidePath(wt::FromUnixPath(BENCH_PHOTO_UNIX));
    HDC pictureDC = ::CreateCompatibleDC(screen);
    HBITMAP pictureImage = ::CreateCompatibleBitmap(screen, 1920, 1080);
    HGDIOBJ oldPicture = ::SelectObject(pictureDC, pictureImage);
    std::vector<double> times;
    for (int i = 0; i < 10; ++i) {
        const double t0 = NowMs();
        DrawPicture(pictureDC, RECT{0, 0, 1920, 1080}, photo.c_str());
        ::GdiFlush();
        times.push_back(NowMs() - t0);
    }
    const double decode = Median(times);
    ::SelectObject(pictureDC, oldPicture);
    ::DeleteObject(pictureImage);
    ::DeleteDC(pictureDC);

    // Listing a folder of 10,000 pictures, median of 3.
    const std::string folder = MakeFolder(10000);
    times.clear();
    size_t listed = 0;
    for (int i = 0; i < 3; ++i) {
        PictureList list;
        const double t0 = NowMs();
        BuildPictureList(
            folder, [] { return false; }, list);
        times.push_back(NowMs() - t0);
        listed = list.Size();
    }
    const double listing = Median(times);

    // Stop latency: a stop requested halfway through the folder search and the frame building (3840 x 2160),
    // the worst of 5 each; and the real render thread in its frame loop, destroyed like a closing saver.
    std::vector<double> searchStops, buildStops, loopStops;
    for (int i = 0; i < 5; ++i) {
        searchStops.push_back(StopLatency(
            [&folder](const std::atomic<LONG>& stop) {
                PictureList list;
                BuildPictureList(
                    folder, [&stop] { return stop.load() != 0; }, list);
            },
            listing / 2));
        buildStops.push_back(StopLatency(
            [screen](const std::atomic<LONG>& stop) {
                CSpiralFrameSet set;
                set.BuildSpiralFrames(
                    screen, ComputeSpiralGeometry(3840, 2160), [](int) {}, [&stop] { return stop.load() != 0; });
            },
            build[2] / 2));
    }
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    const std::string ini = std::string(base) + "whorlix_bench.ini";
    SaverSettings settings; // Speed 11, the built-in picture
    SaveSettings(settings, ini.c_str());
    for (int i = 0; i < 5; ++i) {
        HWND host = MakeWindow(640, 480);
        CSaverWnd* saver = new CSaverWnd(ini);
        saver->CreateSaverWindow(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 640, 480}, host);
        // Well into the frame loop: loading takes a few tens of milliseconds here.
        const double t0 = NowMs();
        while (NowMs() - t0 < 1000 + 37 * i) {
            Pump();
            ::Sleep(5);
        }
        const double requested = NowMs();
        ::DestroyWindow(host); // sets the stop request and waits for the render thread
        loopStops.push_back(NowMs() - requested);
    }
    ::DeleteFileA(ini.c_str());
    RemoveFolder(folder);
    ::DestroyWindow(window);
    ::ReleaseDC(nullptr, screen);

    std::printf("| measure | 640 x 480 | 1920 x 1080 | 3840 x 2160 |\n|---|---|---|---|\n");
    std::printf("| build 15 frames, platform polygon fill (ms, median of 3) | %.1f | %.1f | %.1f |\n", platformBuild[0],
                platformBuild[1], platformBuild[2]);
    std::printf("| build 15 frames, own rasteriser (ms, median of 3) | %.1f | %.1f | %.1f |\n", build[0], build[1],
                build[2]);
    std::printf("| speed-up of the own rasteriser (polygon fill / own) | %.1fx | %.1fx | %.1fx |\n",
                platformBuild[0] / build[0], platformBuild[1] / build[1], platformBuild[2] / build[2]);
    std::printf("| of which computing the 15 polygons (ms, median of 3) | %.1f | %.1f | %.1f |\n", polygons[0],
                polygons[1], polygons[2]);
    std::printf("| present one frame into an image (ms, median of 45) | %.2f | %.2f | %.2f |\n", present[0], present[1],
                present[2]);
    std::printf("\n| measure | result |\n|---|---|\n");
    std::printf("| present one frame into a 1024 x 768 window (ms, median of 45) | %.2f |\n", presentWindow);
    const struct {
        const char* name;
        Interval interval;
    } paced[] = {{"Speed 0 (target 20 ms), 300 frames, one wait a frame", speed0},
                 {"Speed 11 (target 31 ms), 300 frames, one wait a frame", speed11},
                 {"Speed 40 (target 60 ms), 150 frames, one wait a frame", speed40},
                 {"Speed 0, 300 frames, 1 ms steps (no high-resolution timer)", speed0Steps},
                 {"Speed 11, 300 frames, 1 ms steps (no high-resolution timer)", speed11Steps}};
    for (const auto& p : paced)
        std::printf("| frame interval, %s: median / p95 / max (ms) | %.2f / %.2f / %.2f |\n", p.name, p.interval.median,
                    p.interval.p95, p.interval.max);
    std::printf("| read + decode + draw 1920 x 1080 JPEG (ms, median of 10) | %.1f |\n", decode);
    std::printf("| list a folder of 10,000 files (ms, median of 3; %zu listed) | %.1f |\n", listed, listing);
    std::printf("| stop latency, folder search (ms, max of 5) | %.2f |\n",
                *std::max_element(searchStops.begin(), searchStops.end()));
    std::printf("| stop latency, frame building 3840 x 2160 (ms, max of 5) | %.2f |\n",
                *std::max_element(buildStops.begin(), buildStops.end()));
    std::printf("| stop latency, frame loop at Speed 11, window destroy to return (ms, max of 5) | %.2f |\n",
                *std::max_element(loopStops.begin(), loopStops.end()));
    std::printf("\n| desk (a window over it) | first spiral on every monitor (ms, median of 3) | present on every "
                "monitor (ms, median of 45) | interval Speed 11, median / p95 / max (ms) | interval Speed 0, median / "
                "p95 / max (ms) |\n|---|---|---|---|---|\n");
    for (size_t i = 0; i < desks.size(); ++i) {
        const DeskFigures& f = desks[i];
        std::printf("| %s | %.1f | %.2f | %.2f / %.2f / %.2f | %.2f / %.2f / %.2f |\n", kDesks[i].name, f.firstSpiral,
                    f.present, f.speed11.median, f.speed11.p95, f.speed11.max, f.speed0.median, f.speed0.p95,
                    f.speed0.max);
    }
    return 0;
}
