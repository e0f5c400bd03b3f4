// What the real whorlix.scr shows on the screen in run mode, read back from the screen: the pictures of a
// picture phase (scored against ImageMagick's reductions, turned by their camera orientation, in the colours of
// their profiles, refused when far too large), and the turning spiral in the configured colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <numeric>
#include <ostream>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "TestSupport.h"
#include "fw/Handles.h"
#include "render/picture/PictureFile.h"
#include "settings/SettingsStore.h"

namespace {

std::string FixturePath(const char* name) {
    std::string path = std::string("Z:") + SAVER_FIXTURES_UNIX + "/" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// A raw 8-bit RGB file as 0x00RRGGBB pixels.
std::vector<uint32_t> ReadRgb(const std::string& path) {
    const std::string bytes = wt::ReadFileBytes(path);
    std::vector<uint32_t> pixels(bytes.size() / 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (static_cast<uint8_t>(bytes[3 * i]) << 16) | (static_cast<uint8_t>(bytes[3 * i + 1]) << 8) |
                    static_cast<uint8_t>(bytes[3 * i + 2]);
    return pixels;
}

// Peak signal-to-noise ratio of a against b over the rectangle r of w-wide images, all three channels.
double Psnr(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int w, const RECT& r) {
    double squares = 0;
    size_t n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x, n += 3)
            for (int shift = 0; shift < 24; shift += 8) {
                const double d = static_cast<double>((a[y * w + x] >> shift) & 0xFF) - ((b[y * w + x] >> shift) & 0xFF);
                squares += d * d;
            }
    return squares == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 * n / squares);
}

// An Exif block (APP1) whose first directory holds the orientation; a claimed entry count other than 1 makes
// the directory run past the end of the block.
std::string ExifBlock(bool bigEndian, uint16_t orientation, uint16_t claimedEntries = 1) {
    auto u16 = [bigEndian](uint32_t v) {
        const char hi = static_cast<char>((v >> 8) & 0xFF), lo = static_cast<char>(v & 0xFF);
        return bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    };
    auto u32 = [&](uint32_t v) { return bigEndian ? u16(v >> 16) + u16(v & 0xFFFF) : u16(v & 0xFFFF) + u16(v >> 16); };
    const std::string tiff = (bigEndian ? "MM" : "II") + u16(42) + u32(8) + u16(claimedEntries) + u16(0x0112) + u16(3) +
                             u32(1) + u16(orientation) + u16(0) + u32(0);
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const size_t length = payload.size() + 2;
    return std::string{'\xFF', '\xE1', static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} + payload;
}

struct Lab {
    double L, a, b;
};

// A 0x00RRGGBB pixel, taken as sRGB, in CIELAB (D65).
Lab LabOf(uint32_t px) {
    auto linear = [px](int shift) {
        const double v = ((px >> shift) & 0xFF) / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const double r = linear(16), g = linear(8), b = linear(0);
    auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    const double fx = f((0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047), fy = f(0.2126 * r + 0.7152 * g + 0.0722 * b),
                 fz = f((0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

// The CIEDE2000 colour difference.
double DeltaE2000(const Lab& x, const Lab& y) {
    const double pi = std::acos(-1.0), rad = pi / 180, p7 = std::pow(25.0, 7);
    const double cm = (std::hypot(x.a, x.b) + std::hypot(y.a, y.b)) / 2;
    const double g = 0.5 * (1 - std::sqrt(std::pow(cm, 7) / (std::pow(cm, 7) + p7)));
    const double c1 = std::hypot((1 + g) * x.a, x.b), c2 = std::hypot((1 + g) * y.a, y.b);
    auto hue = [pi](double b, double a) {
        return a == 0 && b == 0 ? 0 : std::fmod(std::atan2(b, a) * 180 / pi + 360, 360);
    };
    const double h1 = hue(x.b, (1 + g) * x.a), h2 = hue(y.b, (1 + g) * y.a);
    const double d = c1 * c2 == 0 ? 0 : h2 - h1, dh = d > 180 ? d - 360 : d < -180 ? d + 360 : d, s = h1 + h2;
    const double hm = c1 * c2 == 0 ? s : std::abs(h1 - h2) <= 180 ? s / 2 : (s < 360 ? s + 360 : s - 360) / 2;
    const double lm = (x.L + y.L) / 2 - 50, cpm = (c1 + c2) / 2;
    const double t = 1 - 0.17 * std::cos((hm - 30) * rad) + 0.24 * std::cos(2 * hm * rad) +
                     0.32 * std::cos((3 * hm + 6) * rad) - 0.20 * std::cos((4 * hm - 63) * rad);
    const double rt = -2 * std::sqrt(std::pow(cpm, 7) / (std::pow(cpm, 7) + p7)) *
                      std::sin(60 * std::exp(-std::pow((hm - 275) / 25, 2)) * rad);
    const double dl = (y.L - x.L) / (1 + 0.015 * lm * lm / std::sqrt(20 + lm * lm)), dc = (c2 - c1) / (1 + 0.045 * cpm),
                 dhh = 2 * std::sqrt(c1 * c2) * std::sin(dh / 2 * rad) / (1 + 0.015 * cpm * t);
    return std::sqrt(dl * dl + dc * dc + dhh * dhh + rt * dc * dhh);
}

int ChannelDistance(uint32_t a, uint32_t b) {
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8)
        d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return d;
}

class SaverScreen : public ::testing::Test {
protected:
    void SetUp() override {
        m_scr = wt::CopyScrInto(m_dir);
        m_w = ::GetSystemMetrics(SM_CXSCREEN);
        m_h = ::GetSystemMetrics(SM_CYSCREEN);
    }
    void Store(const SaverSettings& s) { SaveSettings(s, m_dir.File("whorlix.ini").c_str()); }
    void StartAndWaitVisible() {
        ASSERT_TRUE(m_process.Start("\"" + m_scr + "\" /s"));
        ASSERT_TRUE(wt::WaitUntil([&] { return wt::FindProcessWindow(m_process.Pid()) != nullptr; }));
    }
    void TearDown() override {
        // End it the way a user does.
        ::PostMessageA(wt::FindProcessWindow(m_process.Pid()), WM_KEYDOWN, 'A', 1);
        DWORD code = 0xDEAD;
        EXPECT_TRUE(m_process.WaitExit(30000, &code));
        EXPECT_EQ(code, 0u);
    }
    wt::TempDir m_dir;
    std::string m_scr;
    wt::Process m_process;
    int m_w = 0, m_h = 0;
};

} // namespace

namespace {

// One picture phase and what the screen must show during it.
struct PictureCase {
    const char* name;
    const char* picture; // a fixture, "" for none (the built-in picture), "huge" for 700 MB of zeros, or "scripts"
                         // for the folder of photos named in three scripts
    std::string exif;    // an Exif block (or another) put after the picture's start marker, or nothing
    enum Check { kScore, kEvenGrey, kQuarters, kInTurn, kColours } check;
    const char* reference; // kScore, kColours: the reference it is scored against
    uint32_t quarters[4];  // kQuarters: colours of the top-left, top-right, bottom-left and bottom-right quarter;
                           // kInTurn: the three colours the centre shows in turn
    bool portrait;         // kQuarters: the 480 x 640 portrait fitted between bars, else the whole screen
    const char* monitorProfile = nullptr; // a profile fixture the monitor is given for the case
};

// gtest names a failing case by this rather than by its bytes.
void PrintTo(const PictureCase& c, std::ostream* out) {
    *out << c.name;
}

constexpr uint32_t kRed = 0xFF0000, kLime = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr uint32_t kUpright[4] = {kRed, kLime, kBlue, kYellow};

// A photo compared with a reference on the screen by its colours.
PictureCase Colours(const char* name, const char* photo, const char* reference, const char* monitorProfile = nullptr,
                    const std::string& block = "") {
    return {name, photo, block, PictureCase::kColours, reference, {}, false, monitorProfile};
}

const PictureCase kPictureCases[] = {
    {"NoisyPhotoIsAreaAveraged", "noisy4032x3024.jpg", "", PictureCase::kScore, "noisy1024x768.rgb", {}, false},
    {"BuiltInPictureIsEnlargedSmoothly", "", "", PictureCase::kScore, "builtin1024x768.rgb", {}, false},
    {"OnePixelStripesGiveEvenGrey", "stripes4032x3024.jpg", "", PictureCase::kEvenGrey, nullptr, {}, false},
    {"Orientation6ShowsUpright",
     "turned6.jpg",
     ExifBlock(false, 6),
     PictureCase::kQuarters,
     nullptr,
     {kUpright[0], kUpright[1], kUpright[2], kUpright[3]},
     true},
    {"Orientation3BigEndianShowsUpright",
     "turned3.jpg",
     ExifBlock(true, 3),
     PictureCase::kQuarters,
     nullptr,
     {kUpright[0], kUpright[1], kUpright[2], kUpright[3]},
     true},
    {"Orientation8ShowsUpright",
     "turned8.jpg",
     ExifBlock(false, 8),
     PictureCase::kQuarters,
     nullptr,
     {kUpright[0], kUpright[1], kUpright[2], kUpright[3]},
     true},
    // The directory claims more entries than the block holds: the photo shows as stored, sideways.
    {"MalformedExifShowsAsStored",
     "turned6.jpg",
     ExifBlock(false, 6, 40),
     PictureCase::kQuarters,
     nullptr,
     {kLime, kYellow, kRed, kBlue},
     false},
    // Not read at all: the built-in picture shows at once, and a key ends the saver as usual (TearDown).
    {"HugeFileGivesTheBuiltInPicture", "huge", "", PictureCase::kScore, "builtin1024x768.rgb", {}, false},
    {"PhotosNamedInAnyScriptShowInTurn", "scripts", "", PictureCase::kInTurn, nullptr, {kRed, kBlue, kLime}, false},
    // Colours: each photo converted from its own profile, as lcms converts it to sRGB; the odd profile swaps red and
    // blue and needs three APP2 chunks.
    Colours("DisplayP3PhotoInItsColours", "colours\\p3.jpg", "colours\\p3.rgb"),
    Colours("AdobeRgbPhotoInItsColours", "colours\\adobe.jpg", "colours\\adobe.rgb"),
    Colours("SwappedChannelsInThreeChunks", "colours\\swapped.jpg", "colours\\swapped.rgb"),
    // A second chunk numbered 1 of 1 spoils the profile: the photo shows in its stored colours.
    Colours("SpoiltProfileShowsTheStoredColours", "colours\\p3.jpg", "colours\\untagged.rgb", nullptr,
            std::string("\xFF\xE2\x00\x11ICC_PROFILE\0\x01\x01x", 19)),
    Colours("UntaggedPhotoOnAWideGamutMonitor", "colours\\untagged.jpg", "colours\\wide.rgb", "colours\\p3.icc"),
};

// Gives the monitor a profile fixture, as the system keeps one: a file in its colour folder named under the ICM key
// of the display class; taken away again afterwards (this program holds the display). Nothing for none.
struct MonitorProfileGuard {
    explicit MonitorProfileGuard(const char* profile) : given(profile != nullptr) {
        if (!given)
            return;
        wt::WriteFileBytes(File(), wt::ReadFileBytes(FixturePath(profile)));
        EXPECT_EQ(::RegSetKeyValueA(HKEY_LOCAL_MACHINE, kKey, kName, REG_SZ, "", 1), ERROR_SUCCESS);
    }
    ~MonitorProfileGuard() {
        EXPECT_TRUE(!given || (::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kKey, kName) == ERROR_SUCCESS &&
                               ::DeleteFileA(File().c_str())));
    }
    static std::string File() {
        char system[MAX_PATH] = {};
        ::GetSystemDirectoryA(system, sizeof system);
        return std::string(system) + "\\spool\\drivers\\color\\" + kName;
    }
    static constexpr const char* kKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ICM\\mntr";
    static constexpr const char* kName = "whorlix-test-monitor.icc";
    const bool given;
};

class SaverPicture : public SaverScreen, public ::testing::WithParamInterface<PictureCase> {
protected:
    std::vector<CFileHandle> m_viewers; // pictures this process holds open while the saver shows them
    // Whether the screen shows what the case asks for; what was seen goes to seen.
    bool Shows(const PictureCase& c, const std::vector<uint32_t>& screen, const std::vector<uint32_t>& reference,
               std::string& seen) const {
        char text[160];
        if (c.check == PictureCase::kScore) {
            // The centre must match too: the loading screen shows the built-in picture under its loading text.
            const double whole = Psnr(screen, reference, m_w, RECT{0, 0, m_w, m_h});
            const double centre =
                Psnr(screen, reference, m_w, RECT{m_w / 2 - 80, m_h / 2 - 16, m_w / 2 + 80, m_h / 2 + 16});
            std::snprintf(text, sizeof text, "PSNR %.1f dB, centre %.1f dB", whole, centre);
            seen = text;
            return whole >= 30 && centre >= 25;
        }
        if (c.check == PictureCase::kColours) {
            std::vector<double> differences;
            for (size_t i = 0; i < screen.size(); ++i)
                differences.push_back(DeltaE2000(LabOf(screen[i]), LabOf(reference[i])));
            std::sort(differences.begin(), differences.end());
            const double mean = std::accumulate(differences.begin(), differences.end(), 0.0) / differences.size(),
                         p95 = differences[differences.size() * 95 / 100];
            std::snprintf(text, sizeof text, "CIEDE2000 mean %.2f, 95th percentile %.2f, largest %.1f", mean, p95,
                          differences.back());
            seen = text;
            return mean <= 1 && p95 <= 2;
        }
        if (c.check == PictureCase::kInTurn) {
            const uint32_t px = screen[static_cast<size_t>(m_h / 2) * m_w + m_w / 2];
            for (int i = 0; i < 3; ++i)
                m_seenColours |= (ChannelDistance(px, c.quarters[i]) <= 60 ? 1u : 0u) << i;
            std::snprintf(text, sizeof text, "centre %06X, colours seen %X", static_cast<unsigned>(px), m_seenColours);
            seen = text;
            return m_seenColours == 7;
        }
        if (c.check == PictureCase::kEvenGrey) {
            double sum = 0, squares = 0;
            for (uint32_t px : screen)
                for (int shift = 0; shift < 24; shift += 8) {
                    const double v = (px >> shift) & 0xFF;
                    sum += v;
                    squares += v * v;
                }
            const double n = 3.0 * screen.size(), mean = sum / n;
            const double deviation = std::sqrt(std::max(0.0, squares / n - mean * mean));
            std::snprintf(text, sizeof text, "mean %.1f, standard deviation %.1f", mean, deviation);
            seen = text;
            return deviation <= 16 && mean > 96 && mean < 160;
        }
        // Quarters: the picture's rectangle is (224, 0) 576 x 768 for the portrait, else the whole screen.
        const int left = c.portrait ? 224 : 0, width = c.portrait ? 576 : m_w;
        const int xs[2] = {left + width / 4, left + 3 * width / 4}, ys[2] = {m_h / 4, 3 * m_h / 4};
        auto at = [&](int x, int y) { return screen[static_cast<size_t>(y) * m_w + x]; };
        bool ok = true;
        seen.clear();
        for (int q = 0; q < 4; ++q) {
            const uint32_t px = at(xs[q % 2], ys[q / 2]);
            ok = ok && ChannelDistance(px, c.quarters[q]) <= 60;
            std::snprintf(text, sizeof text, "%06X ", static_cast<unsigned>(px));
            seen += text;
        }
        // Black bars exactly outside the fitted rectangle, picture just inside it.
        const int y = m_h / 2;
        auto atClamped = [&](int x) { return at(std::min(std::max(x, 0), m_w - 1), y); };
        const uint32_t edges[4] = {atClamped(left - 2), atClamped(left + 2), atClamped(left + width - 3),
                                   atClamped(left + width + 1)};
        if (c.portrait)
            ok = ok && edges[0] == 0 && edges[3] == 0;
        ok = ok && edges[1] != 0 && edges[2] != 0;
        std::snprintf(text, sizeof text, "edges %06X %06X %06X %06X", static_cast<unsigned>(edges[0]),
                      static_cast<unsigned>(edges[1]), static_cast<unsigned>(edges[2]),
                      static_cast<unsigned>(edges[3]));
        seen += text;
        return ok;
    }
    mutable unsigned m_seenColours = 0; // kInTurn: bit i once colour i was seen
};

} // namespace

TEST_P(SaverPicture, PicturePhaseShowsThePhotoAsTaken) {
    const PictureCase& c = GetParam();
    ASSERT_EQ(m_w, 1024) << "the expected rectangles are for a 1024 x 768 screen";
    ASSERT_EQ(m_h, 768);
    SaverSettings s;
    s.SpiralTime = 0; // a picture phase starts at the first frame and lasts 100 s
    s.PictureTime = 100;
    if (std::string(c.picture) == "huge") {
        // Sparse: 700 MB of zeros that take no disk space.
        s.PictureFile = m_dir.File("huge.jpg");
        HANDLE file = ::CreateFileA(s.PictureFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = 700ll << 20;
        EXPECT_TRUE(::SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file));
        ::CloseHandle(file);
    } else if (std::string(c.picture) == "scripts") {
        s.PictureFile = FixturePath("scripts"); // red, blue and lime photos, a picture phase each second
        s.PictureTime = 1;
        // This process holds every one open for reading, as a viewer would: the saver still shows them all.
        const std::wstring folder = WidePath(s.PictureFile) + L"\\";
        for (CFindFile search((folder + L"*.jpg").c_str()); search.Found(); search.Next())
            m_viewers.emplace_back(::CreateFileW((folder + search.Data().cFileName).c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_EQ(std::count_if(m_viewers.begin(), m_viewers.end(), [](const CFileHandle& v) { return v.IsValid(); }),
                  3);
    } else if (*c.picture != '\0') {
        const std::string jpeg = wt::ReadFileBytes(FixturePath(c.picture));
        ASSERT_GT(jpeg.size(), 2u);
        s.PictureFile = m_dir.File("photo.jpg");
        wt::WriteFileBytes(s.PictureFile, jpeg.substr(0, 2) + c.exif + jpeg.substr(2));
    }
    const MonitorProfileGuard monitorProfile(c.monitorProfile);
    ASSERT_NEAR(DeltaE2000({50, 2.6772, -79.7751}, {50, 0, -82.7485}), 2.0425, 1e-4); // a published test pair
    Store(s);
    const std::vector<uint32_t> reference =
        c.reference != nullptr ? ReadRgb(FixturePath(c.reference)) : std::vector<uint32_t>();
    if (c.check == PictureCase::kScore || c.check == PictureCase::kColours) {
        ASSERT_EQ(reference.size(), static_cast<size_t>(m_w) * m_h);
    }
    StartAndWaitVisible();
    std::string seen;
    const bool shown =
        wt::WaitUntil([&] { return Shows(c, wt::ReadScreenPixels(0, 0, m_w, m_h), reference, seen); }, 60000);
    EXPECT_TRUE(shown) << seen;
    std::printf("%s: %s\n", c.name, seen.c_str()); // the measured figures, for the log
}

INSTANTIATE_TEST_SUITE_P(Pictures, SaverPicture, ::testing::ValuesIn(kPictureCases),
                         [](const ::testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

// The spiral turns in the configured colours, stands still while the power plan has the displays off (the
// notification delivered as Windows sends it), turns on dimmed and once they are on again, and a key still ends the
// saver with the displays off (TearDown).
TEST_F(SaverScreen, SpiralTurnsInTheConfiguredColoursExceptWhileTheDisplaysAreOff) {
    SaverSettings s;
    s.FrontColor = RGB(255, 0, 0);
    s.BackColor = RGB(0, 0, 255);
    s.PictureTime = 0;
    Store(s);
    StartAndWaitVisible();
    std::vector<uint32_t> first;
    bool twoColours = wt::WaitUntil([&] {
        first = wt::ReadScreenPixels(0, 0, m_w, m_h);
        size_t red = 0, blue = 0;
        for (uint32_t px : first) {
            red += px == 0xFF0000;
            blue += px == 0x0000FF;
        }
        // Arms in the back colour, gaps and outlines in the front colour, nothing else.
        return red + blue == first.size() && red > first.size() / 3 && blue > first.size() / 3;
    });
    ASSERT_TRUE(twoColours);
    // It turns: a later screen differs from the first.
    const auto turns = [&] {
        const std::vector<uint32_t> before = wt::ReadScreenPixels(0, 0, m_w, m_h);
        return wt::WaitUntil([&] { return wt::ReadScreenPixels(0, 0, m_w, m_h) != before; });
    };
    EXPECT_TRUE(turns());
    const HWND window = wt::FindProcessWindow(m_process.Pid());
    for (DWORD state : {2u, 0u, 1u, 0u}) {
        SCOPED_TRACE(testing::Message() << "display state " << state);
        ASSERT_TRUE(wt::SendDisplayState(window, m_process.Pid(), state));
        if (state != 0) {
            EXPECT_TRUE(turns());
            continue;
        }
        // The frame under way may still reach the screen; then nothing changes for 2 s, some 60 frames.
        std::vector<uint32_t> still;
        ASSERT_TRUE(wt::WaitUntil([&] {
            still = wt::ReadScreenPixels(0, 0, m_w, m_h);
            ::Sleep(200);
            return wt::ReadScreenPixels(0, 0, m_w, m_h) == still;
        }));
        EXPECT_FALSE(wt::WaitUntil([&] { return wt::ReadScreenPixels(0, 0, m_w, m_h) != still; }, 2000));
    }
}

namespace {

// The monitors the desk rig describes (WHORLIX_DESK_HEADS: "WxH+X+Y,..." in X screen coordinates, the primary
// first) as the system should report them, the primary at 0,0; none outside the rig.
std::vector<RECT> DeskFromRig() {
    std::vector<RECT> monitors;
    const char* heads = std::getenv("WHORLIX_DESK_HEADS");
    int w, h, x, y, used, x0 = 0, y0 = 0;
    while (heads != nullptr && std::sscanf(heads, "%dx%d+%d+%d%n", &w, &h, &x, &y, &used) == 4) {
        if (monitors.empty())
            x0 = x, y0 = y;
        monitors.push_back(RECT{x - x0, y - y0, x - x0 + w, y - y0 + h});
        heads += used + (heads[used] == ',');
    }
    return monitors;
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

bool Inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

// Run on every desk of the rig (and on the plain single-monitor screen): every monitor shows the saver fitted to
// itself, nothing of the desktop shows anywhere, the gaps between monitors are black, and a mouse moved on a
// secondary monitor (the primary where there is no other) ends it.
TEST_F(SaverScreen, EveryMonitorOfTheDeskShowsTheSaverAndAMoveOnAnyEndsIt) {
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    const std::vector<RECT> expected = DeskFromRig();
    if (!expected.empty()) {
        ASSERT_EQ(monitors.size(), expected.size()) << "the system does not report the rig's monitors";
        for (const RECT& e : expected)
            EXPECT_TRUE(
                std::any_of(monitors.begin(), monitors.end(), [&](const RECT& m) { return ::EqualRect(&m, &e); }))
                << "no monitor at " << e.left << "," << e.top;
    }
    ASSERT_FALSE(monitors.empty());
    const RECT desk{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                    ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const int deskW = desk.right - desk.left, deskH = desk.bottom - desk.top;

    // White stands for the desktop and the windows open on it: no colour of the saver's here.
    constexpr uint32_t kDesktop = 0xFFFFFF, kFront = 0xFF0000, kBack = 0x0000FF;
    const std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&::DestroyWindow)> desktop(
        ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_WHITERECT, desk.left, desk.top, deskW, deskH,
                          nullptr, nullptr, nullptr, nullptr),
        &::DestroyWindow);
    ASSERT_TRUE(wt::WaitUntil([&] { return wt::ReadScreenPixels(desk.left, desk.top, 1, 1)[0] == kDesktop; }));
    SaverSettings s;
    s.FrontColor = RGB(255, 0, 0);
    s.BackColor = RGB(0, 0, 255);
    s.SpiralTime = 1;
    s.PictureTime = 1;
    s.PictureFile = FixturePath("lime640x480.jpg"); // fills every 4:3 monitor of the desks
    Store(s);
    StartAndWaitVisible();

    // Waits until every monitor's centre shows the spiral (both colours, nothing else) or the picture. Every screen
    // read on the way is checked: the desktop nowhere on a monitor, black outside them. seen keeps the first fault.
    std::string seen;
    bool checking = false;
    const auto everyCentreShows = [&](bool spiral) {
        return wt::WaitUntil(
            [&] {
                const std::vector<uint32_t> screen = wt::ReadScreenPixels(desk.left, desk.top, deskW, deskH);
                for (int i = 0; checking && seen.empty() && i < deskW * deskH; ++i) {
                    const int x = desk.left + i % deskW, y = desk.top + i / deskW;
                    const bool onMonitor =
                        std::any_of(monitors.begin(), monitors.end(), [&](const RECT& m) { return Inside(m, x, y); });
                    if (onMonitor ? screen[i] == kDesktop : screen[i] != 0)
                        seen = std::to_string(x) + "," + std::to_string(y) +
                               (onMonitor ? " shows the desktop" : " is not black");
                }
                return std::all_of(monitors.begin(), monitors.end(), [&](const RECT& m) {
                    std::set<uint32_t> colours;
                    for (int y = (m.top + m.bottom) / 2 - 20; y < (m.top + m.bottom) / 2 + 20; ++y)
                        for (int x = (m.left + m.right) / 2 - 20; x < (m.left + m.right) / 2 + 20; ++x)
                            colours.insert(screen[static_cast<size_t>(y - desk.top) * deskW + x - desk.left]);
                    return spiral ? colours == std::set<uint32_t>{kFront, kBack}
                                  : std::all_of(colours.begin(), colours.end(),
                                                [](uint32_t px) { return ChannelDistance(px, 0x00FF00) <= 60; });
                });
            },
            60000);
    };
    // From the first spiral on every monitor on (the saver's window shows before it is drawn), in spiral and
    // picture phases alike.
    ASSERT_TRUE(everyCentreShows(true));
    checking = true;
    EXPECT_TRUE(everyCentreShows(false));
    EXPECT_TRUE(everyCentreShows(true));
    EXPECT_EQ(seen, "");

    // The pointer moved on a secondary monitor, one at negative coordinates where there is one: the first move is
    // the reference, a further one ends the saver.
    RECT target = monitors.front();
    for (const RECT& m : monitors)
        if (!Inside(m, 0, 0) && (Inside(target, 0, 0) || m.left + m.top < target.left + target.top))
            target = m;
    ASSERT_TRUE(m_process.IsRunning());
    int step = 0;
    const bool ended = wt::WaitUntil(
        [&] {
            ++step;
            ::SetCursorPos((target.left + target.right) / 2 + step % 2 * 10, (target.top + target.bottom) / 2);
            return m_process.WaitExit(50);
        },
        30000);
    EXPECT_TRUE(ended);
}

namespace {

// A picture folder on a drive that stops answering (tests/win/rig/stall_fs.c, which win.drive_stalls mounts for this
// program): what the drive leaves unanswered from the start, and what becomes of it.
struct StallCase {
    const char* name;
    const char* stalls; // the rig's word: "list", "read" or "read-after-first"
    enum Course { kStaysSilent, kFirstPhotoThenSilent, kWakes } course;
};

void PrintTo(const StallCase& c, std::ostream* out) {
    *out << c.name;
}

const StallCase kStallCases[] = {
    {"ListingHangs", "list", StallCase::kStaysSilent},
    {"EveryReadHangs", "read", StallCase::kStaysSilent},
    {"FirstPhotoShowsThenTheNextReadHangs", "read-after-first", StallCase::kFirstPhotoThenSilent},
    {"DriveWakesAfterAFewSeconds", "list", StallCase::kWakes},
};

class SaverOnStalledDrive : public SaverScreen, public ::testing::WithParamInterface<StallCase> {};

} // namespace

// The spiral turns within the loading time and through its phases while the drive is silent, the picture phases
// showing the built-in picture; photos the drive gives show at the next picture phases; a key gives the screen back
// at once, and the saver ends with exit code 0 once the drive answers.
TEST_P(SaverOnStalledDrive, SpiralTurnsOnAndThePhotosComeWhenTheDriveDoes) {
    const StallCase& c = GetParam();
    const char* mount = std::getenv("WHORLIX_STALL_MOUNT");
    const char* backing = std::getenv("WHORLIX_STALL_BACKING");
    const char* control = std::getenv("WHORLIX_STALL_CONTROL");
    ASSERT_TRUE(mount != nullptr && backing != nullptr && control != nullptr)
        << "runs on the drive of tests/win/rig/stalled-drive.sh (win.drive_stalls)";
    ASSERT_EQ(m_w, 1024) << "the references are for a 1024 x 768 screen";
    const auto drive = [&](const char* word) { wt::WriteFileBytes(wt::FromUnixPath(control), word); };
    // However the test ends, the drive answers again: until then the saver's process cannot end.
    const std::unique_ptr<const char, std::function<void(const char*)>> wakeAtEnd("", [&](const char*) { drive(""); });
    const std::string photo = wt::ReadFileBytes(FixturePath("noisy4032x3024.jpg"));
    for (const char* name : {"\\one.jpg", "\\two.jpg"})
        wt::WriteFileBytes(wt::FromUnixPath(backing) + name, photo);
    drive(c.stalls);
    SaverSettings s;
    s.SpiralTime = 1;
    s.PictureTime = 1;
    s.PictureFile = wt::FromUnixPath(mount);
    Store(s);
    const std::vector<uint32_t> builtIn = ReadRgb(FixturePath("builtin1024x768.rgb")),
                                photoShown = ReadRgb(FixturePath("noisy1024x768.rgb"));
    const RECT whole{0, 0, m_w, m_h}, centre{m_w / 2 - 80, m_h / 2 - 16, m_w / 2 + 80, m_h / 2 + 16};
    enum Look { kSpiral, kBuiltIn, kPhoto };
    const auto shows = [&](Look look) {
        return wt::WaitUntil(
            [&] {
                const std::vector<uint32_t> screen = wt::ReadScreenPixels(0, 0, m_w, m_h);
                if (look == kSpiral) {
                    const size_t white = std::count(screen.begin(), screen.end(), 0xFFFFFFu);
                    return std::count(screen.begin(), screen.end(), 0u) + white == screen.size() && white > 0 &&
                           white < screen.size();
                }
                // The centre too: the loading screen shows the built-in picture under its loading text.
                const std::vector<uint32_t>& reference = look == kBuiltIn ? builtIn : photoShown;
                return Psnr(screen, reference, m_w, whole) >= 30 && Psnr(screen, reference, m_w, centre) >= 25;
            },
            60000);
    };
    StartAndWaitVisible();
    const std::vector<Look> course[] = {
        {kSpiral, kBuiltIn, kSpiral, kBuiltIn}, {kPhoto, kSpiral, kBuiltIn, kSpiral}, {kSpiral, kBuiltIn}};
    const char* lookNames[] = {"spiral", "built-in picture", "photo"};
    for (Look look : course[c.course])
        EXPECT_TRUE(shows(look)) << "no " << lookNames[look];
    if (c.course == StallCase::kWakes) {
        drive("");
        EXPECT_TRUE(shows(kPhoto)) << "no photo once the drive answers";
        drive("list");
    }
    ::PostMessageA(wt::FindProcessWindow(m_process.Pid()), WM_KEYDOWN, 'A', 1);
    EXPECT_TRUE(wt::WaitUntil([&] { return wt::FindProcessWindow(m_process.Pid()) == nullptr; }))
        << "the screen stays covered";
    drive("");
    DWORD code = 0xDEAD;
    EXPECT_TRUE(m_process.WaitExit(60000, &code));
    EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(Stalled, SaverOnStalledDrive, ::testing::ValuesIn(kStallCases),
                         [](const ::testing::TestParamInfo<StallCase>& info) { return info.param.name; });
