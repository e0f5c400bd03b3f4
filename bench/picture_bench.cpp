// Prints what a picture phase costs with a phone's 12 MP photo, side by side: the old way (decode, then the
// surface's own stretching inside IPicture::Render) and DrawPicture (decode, 1:1 copy, resample, turn, copy),
// with the parts of the new way, the peak memory each way takes, what converting a fitted picture's colours adds, and
// how fast a stop ends the read of a large file.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "TestSupport.h"
#include "render/picture/PictureColours.h"
#include "render/picture/PictureFile.h"
#include "render/picture/PictureFit.h"
#include "render/picture/PictureScaler.h"
#include "render/picture/PictureSource.h"

namespace {

template <typename Work> double MedianOf5(Work work) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const double t0 = NowMs();
        work();
        times.push_back(NowMs() - t0);
    }
    return Median(times);
}

// The whole file in one fixed block, read in one piece.
HGLOBAL ReadInOnePiece(const std::string& path, DWORD& size) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    size = ::GetFileSize(file, nullptr);
    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, size);
    DWORD read = 0;
    ::ReadFile(file, block, size, &read, nullptr);
    ::CloseHandle(file);
    size = read;
    return block;
}

// The way pictures were drawn before: read, decode, and let Render stretch it onto the surface.
void OldDrawPicture(HDC dc, const RECT& target, const std::string& path) {
    DWORD size = 0;
    HGLOBAL block = ReadInOnePiece(path, size);
    IStream* stream = nullptr;
    IPicture* picture = nullptr;
    ::CreateStreamOnHGlobal(block, FALSE, &stream);
    if (SUCCEEDED(::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                   reinterpret_cast<void**>(&picture)))) {
        ::FillRect(dc, &target, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        OLE_XSIZE_HIMETRIC W = 0;
        OLE_YSIZE_HIMETRIC H = 0;
        picture->get_Width(&W);
        picture->get_Height(&H);
        const FitRect fit = FitPicture(target.right, target.bottom, W, H);
        picture->Render(dc, fit.x, fit.y, fit.width, fit.height, 0, H - 1, W, -H, nullptr);
        picture->Release();
    }
    stream->Release();
    ::GlobalFree(block);
}

// Decoding alone: the part both ways share.
void DecodeOnly(const std::string& path) {
    DWORD size = 0;
    HGLOBAL block = ReadInOnePiece(path, size);
    IStream* stream = nullptr;
    IPicture* picture = nullptr;
    ::CreateStreamOnHGlobal(block, FALSE, &stream);
    if (SUCCEEDED(
            ::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture))))
        picture->Release();
    stream->Release();
    ::GlobalFree(block);
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// In a fresh process (this program started again), the peak working set one drawing adds, in MB.
double PeakExtraMb(const char* way, int w, int h) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    char command[MAX_PATH + 64];
    std::snprintf(command, sizeof command, "\"%s\" memory %s %d %d", self, way, w, h);
    wt::Process child;
    DWORD kb = 0;
    if (!child.Start(command) || !child.WaitExit(120000, &kb))
        return -1;
    return kb / 1024.0;
}

// The child's side: draws once and exits with the added peak in KB.
int MeasureMemory(const std::string& photo, const char* way, int w, int h) {
    wt::CDibSurface surface(w, h);
    const RECT target{0, 0, w, h};
    const SIZE_T before = Memory().WorkingSetSize;
    if (std::strcmp(way, "old") == 0)
        OldDrawPicture(surface.DC(), target, photo);
    else
        DrawPicture(surface.DC(), target, WidePath(photo).c_str());
    return static_cast<int>((Memory().PeakWorkingSetSize - before) / 1024);
}

// Draws the picture at path on a thread, requests a stop after delayMs; the time from the request to the end.
double StopLatency(const std::string& path, double delayMs) {
    struct Context {
        std::string path;
        std::atomic<LONG> stop{0};
    } ctx;
    ctx.path = path;
    HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            Context* c = static_cast<Context*>(p);
            wt::CDibSurface surface(1920, 1080);
            DrawPicture(surface.DC(), RECT{0, 0, 1920, 1080}, WidePath(c->path).c_str(),
                        [c] { return c->stop.load() != 0; });
            return 0;
        },
        &ctx, 0, nullptr);
    const double start = NowMs();
    while (NowMs() - start < delayMs)
        ::Sleep(1);
    const double requested = NowMs();
    ctx.stop.store(1);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    return NowMs() - requested;
}

std::string WindowsPath(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

} // namespace

int main(int argc, char** argv) {
    ::CoInitialize(nullptr);
    const std::string photo = WindowsPath(BENCH_PHOTO_UNIX);
    const std::wstring widePhoto = WidePath(photo);
    if (argc == 5 && std::strcmp(argv[1], "memory") == 0)
        return MeasureMemory(photo, argv[2], std::atoi(argv[3]), std::atoi(argv[4]));

    std::printf("4032 x 3024 JPEG (%s), median of 5, milliseconds\n", BENCH_PHOTO_UNIX);
    // "new path" allocates its working memory afresh, as for the first picture of a run; "reused" keeps one
    // workspace, as the render thread does for every later picture phase.
    std::printf("%-12s %10s %10s %7s %10s %7s %14s %14s\n", "target", "old path", "new path", "ratio", "reused",
                "ratio", "old peak MB", "new peak MB");
    const int sizes[][2] = {{1024, 768}, {1920, 1080}, {3840, 2160}};
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        wt::CDibSurface surface(w, h);
        const RECT target{0, 0, w, h};
        const double oldMs = MedianOf5([&] { OldDrawPicture(surface.DC(), target, photo); });
        const double newMs = MedianOf5([&] { DrawPicture(surface.DC(), target, widePhoto.c_str()); });
        PictureWorkspace work;
        DrawPicture(surface.DC(), target, widePhoto.c_str(), nullptr, &work);
        const double reusedMs =
            MedianOf5([&] { DrawPicture(surface.DC(), target, widePhoto.c_str(), nullptr, &work); });
        char label[32];
        std::snprintf(label, sizeof label, "%d x %d", w, h);
        std::printf("%-12s %10.1f %10.1f %7.2f %10.1f %7.2f %14.1f %14.1f\n", label, oldMs, newMs, newMs / oldMs,
                    reusedMs, reusedMs / oldMs, PeakExtraMb("old", w, h), PeakExtraMb("new", w, h));
    }

    // The parts of the new way: the decode both ways share, and resampling with and without a quarter turn.
    std::printf("\nparts, median of 5, milliseconds\n");
    std::printf("  decode (read + OleLoadPicture):       %8.1f\n", MedianOf5([&] { DecodeOnly(photo); }));
    std::vector<uint32_t> source(4032u * 3024u, 0x808080u);
    for (uint32_t i = 0; i < source.size(); ++i)
        source[i] = (i * 2654435761u) & 0xFFFFFFu;
    for (const auto& size : {sizes[1], sizes[2]}) {
        std::vector<uint32_t> out(static_cast<size_t>(size[0]) * size[1]);
        for (int orientation : {1, 6}) {
            const double ms = MedianOf5([&] {
                const bool swaps = OrientationSwapsAxes(orientation);
                ScaleOrientedPicture(source.data(), 4032, 3024, orientation, out.data(), swaps ? size[1] : size[0],
                                     swaps ? size[0] : size[1]);
            });
            std::printf("  resample to %d x %d, orientation %d: %8.1f\n", size[0], size[1], orientation, ms);
        }
    }

    // Colours: a fitted picture converted from a Display P3 photo's profile to an sRGB monitor, and an untagged one
    // to a Display P3 monitor (the test profile written as a file), with the transform made each time as for every
    // picture. Nothing is converted, and nothing costs, for an untagged picture on an sRGB monitor.
    std::string p3Path = std::string("Z:") + BENCH_COLOURS_UNIX + "/p3.icc";
    std::replace(p3Path.begin(), p3Path.end(), '/', '\\');
    const std::string p3 = wt::ReadFileBytes(p3Path);
    const std::vector<uint8_t> p3Profile(p3.begin(), p3.end());
    std::printf("\ncolour conversion of one fitted picture, median of 5, milliseconds (64 x 36: mostly the transform's "
                "making)\n");
    const int tiny[2] = {64, 36};
    for (const auto& size : {tiny, sizes[1], sizes[2]}) {
        std::vector<FittedPicture> shown(1);
        shown[0].targetW = shown[0].fit.width = size[0];
        shown[0].targetH = shown[0].fit.height = size[1];
        shown[0].pixels.assign(source.begin(), source.begin() + static_cast<size_t>(size[0]) * size[1]);
        std::vector<uint32_t> scratch;
        const std::vector<PictureKind> srgbMonitor = {{size[0], size[1], ""}}, p3Monitor = {{size[0], size[1], p3Path}};
        const double tagged = MedianOf5([&] { ConvertToMonitorColours(p3Profile, srgbMonitor, shown, scratch); });
        const double wide = MedianOf5([&] { ConvertToMonitorColours({}, p3Monitor, shown, scratch); });
        std::printf("  %d x %d: Display P3 photo on sRGB %8.1f, untagged photo on Display P3 %8.1f\n", size[0], size[1],
                    tagged, wide);
    }

    // Stop latency: a 250 MB file (not a picture, but under the file cap, so it is read) drawn on a thread with
    // a stop requested 20 ms into the read; the worst of 5. Beside it, the read in one piece as before.
    wt::TempDir dir;
    const std::string big = dir.File("big.jpg");
    {
        HANDLE file = ::CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = 250ll << 20;
        ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        ::SetEndOfFile(file);
        ::CloseHandle(file);
    }
    std::vector<double> stops;
    for (int i = 0; i < 5; ++i)
        stops.push_back(StopLatency(big, 20));
    const double onePiece = MedianOf5([&] {
        DWORD size = 0;
        ::GlobalFree(ReadInOnePiece(big, size));
    });
    wt::CDibSurface surface(1920, 1080);
    const double wholeNew = MedianOf5([&] {
        DrawPicture(surface.DC(), RECT{0, 0, 1920, 1080}, WidePath(big).c_str());
    });
    std::printf("\n250 MB file: stop latency during the read %.1f ms (worst of 5); reading it in one piece as before "
                "%.1f ms; DrawPicture of it without a stop %.1f ms (median of 5)\n",
                *std::max_element(stops.begin(), stops.end()), onePiece, wholeNew);
    ::CoUninitialize();
    return 0;
}
