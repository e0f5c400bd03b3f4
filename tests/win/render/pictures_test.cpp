// The picture list from a real folder and DrawPicture with the real decoder: fallbacks to the built-in
// picture and the fitted placement on black.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "TestSupport.h"
#include "render/PictureAhead.h"
#include "render/picture/PictureFile.h"
#include "render/picture/PictureFolder.h"
#include "render/picture/PictureSource.h"

namespace {

std::vector<std::wstring> Entries(const PictureList& list) {
    return {list.Entries().begin(), list.Entries().end()};
}

std::vector<uint32_t> Draw(int w, int h, const char* path, const std::function<bool()>& stop = nullptr,
                           PictureWorkspace* workspace = nullptr) {
    rt::CDibSurface surface(w, h);
    surface.Fill(0xFF00FF);
    DrawPicture(surface.DC(), RECT{0, 0, w, h}, path != nullptr ? WidePath(path).c_str() : nullptr, stop, workspace);
    return surface.Pixels();
}

// Makes a sparse file: bytes, then nothing up to size.
void WriteSparse(const std::string& path, const std::string& bytes, LONGLONG size) {
    wt::WriteFileBytes(path, bytes);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    EXPECT_TRUE(::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file)) << path;
    ::CloseHandle(file);
}

bool IsBlack(uint32_t p) {
    return p == 0;
}
bool IsGreen(uint32_t p) {
    return ((p >> 8) & 0xFF) > 150 && (p >> 16) < 80 && (p & 0xFF) < 80;
}
bool IsRed(uint32_t p) {
    return (p >> 16) > 150 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
}

// Every pixel of the w x h image is black outside the rectangle and satisfies inside() within it.
template <typename Inside>
void ExpectPlacement(const std::vector<uint32_t>& pixels, int w, int h, RECT r, Inside inside) {
    size_t wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * w + x];
            const bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            if (in ? !inside(p) : !IsBlack(p)) {
                if (++wrong <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " = " << std::hex << p;
            }
        }
    EXPECT_EQ(wrong, 0u);
}

} // namespace

TEST(PictureList, FolderListsJpgAndJpegOfAnyCaseIncludingMatchingSubFolders) {
    wt::TempDir dir;
    const std::wstring folder = WidePath(dir.Path() + "\\"), green = WidePath(rt::FixturePath("green640x480.jpg"));
    std::set<std::wstring> expected{folder + L"d.jpg"};
    // Besides ASCII names, three that no one ANSI code page spells all of (Latin, Korean, Japanese).
    for (const wchar_t* name :
         {L"a.jpg", L"b.jpeg", L"c.JPG", L"caf\u00E9.jpg", L"\uC0AC\uC9C4.jpg", L"\u5199\u771F.jpg"})
        ASSERT_TRUE(::CopyFileW(green.c_str(), expected.insert(folder + name).first->c_str(), FALSE));
    wt::WriteFileBytes(dir.File("e.png"), "x");
    ASSERT_TRUE(::CreateDirectoryA(dir.File("d.jpg").c_str(), nullptr));

    for (const std::string& path : {dir.Path(), dir.Path() + "\\", dir.Path() + "\\\\\\"}) {
        PictureList list;
        EXPECT_TRUE(BuildPictureList(
            path, [] { return false; }, list));
        const std::vector<std::wstring> entries = Entries(list);
        EXPECT_EQ(std::set<std::wstring>(entries.begin(), entries.end()), expected) << path;
        EXPECT_EQ(entries.size(), 7u);
    }

    // Draws of 0 put every file at the tail: "*.jpg" results first, then "*.jpeg".
    PictureList list;
    EXPECT_TRUE(BuildPictureList(
        dir.Path(), [] { return false; }, list, [] { return 0; }));
    ASSERT_EQ(list.Size(), 7u);
    EXPECT_EQ(list.Entries().back(), folder + L"b.jpeg");
}

TEST(PictureList, SingleFileOfAnyExtensionMissingPathAndEmptyFolder) {
    wt::TempDir dir;
    wt::WriteFileBytes(dir.File("e.png"), "x");
    PictureList list;
    EXPECT_TRUE(BuildPictureList(
        dir.File("e.png"), [] { return false; }, list));
    EXPECT_EQ(Entries(list), std::vector<std::wstring>{WidePath(dir.File("e.png"))});
    EXPECT_TRUE(BuildPictureList(
        dir.File("missing.jpg"), [] { return false; }, list));
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(BuildPictureList(
        "", [] { return false; }, list));
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(BuildPictureList(
        dir.Path(), [] { return false; }, list)); // only e.png
    EXPECT_TRUE(list.Empty());
}

TEST(PictureList, StopEndsTheFolderSearchEarly) {
    wt::TempDir dir;
    for (int i = 0; i < 20; ++i)
        wt::WriteFileBytes(dir.File("p" + std::to_string(i) + ".jpg"), "x");
    PictureList list;
    int asked = 0;
    // Asked before "*.jpg", then after each file found: the third question stops after two files.
    EXPECT_FALSE(BuildPictureList(
        dir.Path(), [&asked] { return ++asked >= 3; }, list));
    EXPECT_EQ(list.Size(), 2u);
    EXPECT_FALSE(BuildPictureList(
        dir.Path(), [] { return true; }, list));
    EXPECT_TRUE(list.Empty());
}

TEST(PictureList, FolderNameEndingInDoubleByteCharacterWithBackslashSecondByte) {
    if (!::IsDBCSLeadByte(0x95))
        GTEST_SKIP() << "needs the Japanese ANSI code page";
    wt::TempDir dir;
    const std::string folder = dir.Path() + "\\\x95\x5C"; // one double-byte character
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    wt::WriteFileBytes(folder + "\\x.jpg", "x");
    for (const std::string& path : {folder, folder + "\\", folder + "\\\\"}) {
        PictureList list;
        EXPECT_TRUE(BuildPictureList(
            path, [] { return false; }, list));
        EXPECT_EQ(Entries(list), std::vector<std::wstring>{WidePath(folder + "\\x.jpg")});
    }
}

TEST(DrawPicture, FilesThatCannotBeShownGiveTheBuiltInPicture) {
    const int w = 152, h = 112;
    const std::vector<uint32_t> builtin = Draw(w, h, nullptr);
    // The built-in picture is a real picture: not flat, fitted with a one-pixel bar on the left.
    EXPECT_GT(std::set<uint32_t>(builtin.begin(), builtin.end()).size(), 50u);

    wt::TempDir dir;
    const std::string jpeg = wt::ReadFileBytes(rt::FixturePath("green640x480.jpg"));
    wt::WriteFileBytes(dir.File("empty.jpg"), "");
    wt::WriteFileBytes(dir.File("truncated.jpg"), jpeg.substr(0, jpeg.size() / 2));
    wt::WriteFileBytes(dir.File("text.jpg"), "this is not a picture at all\r\n");
    wt::WriteFileBytes(dir.File("locked.jpg"), jpeg);
    wt::WriteFileBytes(dir.File("deleted.jpg"), jpeg);
    ::DeleteFileA(dir.File("deleted.jpg").c_str());
    ::CreateDirectoryA(dir.File("folder.jpg").c_str(), nullptr);
    // Past the file cap; and a picture whose size is over 4 GB by exactly the size of a good JPEG at its start.
    WriteSparse(dir.File("huge.jpg"), jpeg, 300ll << 20);
    WriteSparse(dir.File("over4g.jpg"), jpeg, (4ll << 30) + static_cast<LONGLONG>(jpeg.size()));
    // A frame header claiming 65535 x 65535 pixels: refused before the decoder allocates them.
    std::string monster = jpeg;
    const size_t frame = monster.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    monster.replace(frame + 5, 4, "\xFF\xFF\xFF\xFF");
    wt::WriteFileBytes(dir.File("monster.jpg"), monster);
    HANDLE lock = ::CreateFileA(dir.File("locked.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    for (const char* name : {"empty.jpg", "truncated.jpg", "text.jpg", "locked.jpg", "deleted.jpg", "folder.jpg",
                             "huge.jpg", "over4g.jpg", "monster.jpg"})
        EXPECT_TRUE(Draw(w, h, dir.File(name).c_str()) == builtin) << name;
    ::CloseHandle(lock);
    // Once released, the same file shows itself, also while a viewer holds it open for reading.
    const CFileHandle viewer(::CreateFileA(dir.File("locked.jpg").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(viewer.IsValid());
    const std::vector<uint32_t> unlocked = Draw(w, h, dir.File("locked.jpg").c_str());
    EXPECT_TRUE(IsGreen(unlocked[static_cast<size_t>(h / 2) * w + w / 2]));
    // A stop during the read draws nothing at all, not even the built-in picture.
    const std::vector<uint32_t> stopped = Draw(w, h, dir.File("locked.jpg").c_str(), [] { return true; });
    EXPECT_TRUE(std::all_of(stopped.begin(), stopped.end(), [](uint32_t p) { return p == 0xFF00FF; }));
}

TEST(DrawPicture, FittedOnBlackAtTheComputedRectangle) {
    const std::string green = rt::FixturePath("green640x480.jpg");
    ExpectPlacement(Draw(152, 112, green.c_str()), 152, 112, RECT{1, 0, 150, 112}, IsGreen);
    ExpectPlacement(Draw(1280, 1024, green.c_str()), 1280, 1024, RECT{0, 32, 1280, 992}, IsGreen);
    ExpectPlacement(Draw(1024, 768, green.c_str()), 1024, 768, RECT{0, 0, 1024, 768}, IsGreen);
    // A picture taller than the target: bars left and right.
    const std::string red = rt::FixturePath("red300x600.jpg");
    ExpectPlacement(Draw(320, 240, red.c_str()), 320, 240, RECT{100, 0, 220, 240}, IsRed);
    // The built-in picture is 640 x 480 too: bars above and below on 1280 x 1024.
    const std::vector<uint32_t> builtin = Draw(1280, 1024, nullptr);
    ExpectPlacement(builtin, 1280, 1024, RECT{0, 32, 1280, 992}, [](uint32_t) { return true; });
    EXPECT_FALSE(std::all_of(builtin.begin() + 32 * 1280, builtin.begin() + 33 * 1280, IsBlack));
}

TEST(DrawPicture, EveryDrawReadsTheFileAnew) {
    wt::TempDir dir;
    const std::string path = dir.File("one.jpg");
    wt::WriteFileBytes(path, wt::ReadFileBytes(rt::FixturePath("green640x480.jpg")));
    EXPECT_TRUE(IsGreen(Draw(64, 48, path.c_str())[24 * 64 + 32]));
    wt::WriteFileBytes(path, wt::ReadFileBytes(rt::FixturePath("red300x600.jpg")));
    EXPECT_TRUE(IsRed(Draw(64, 48, path.c_str())[24 * 64 + 32]));
}

TEST(DrawPicture, AWorkspaceKeptFromPictureToPictureDrawsExactlyWhatAFreshOneDraws) {
    // Larger and smaller pictures and targets in turn, as a run's picture phases reuse one workspace.
    const std::string photo = rt::FixturePath("photo1920x1080.jpg"), red = rt::FixturePath("red300x600.jpg"),
                      green = rt::FixturePath("green640x480.jpg");
    const struct {
        int w, h;
        const char* path;
    } draws[] = {{640, 480, photo.c_str()},
                 {320, 240, red.c_str()},
                 {1024, 768, nullptr},
                 {152, 112, green.c_str()},
                 {800, 600, photo.c_str()}};
    PictureWorkspace work;
    for (const auto& d : draws) {
        SCOPED_TRACE(testing::Message() << d.w << " x " << d.h << " " << (d.path ? d.path : "built-in"));
        EXPECT_TRUE(Draw(d.w, d.h, d.path, nullptr, &work) == Draw(d.w, d.h, d.path));
    }
}

TEST(PictureAhead, PicturesShowInTheListsOrderAsPreparedAheadWhereTheyFitWithinTheKeptMemory) {
    const std::string green = wt::ReadFileBytes(rt::FixturePath("green640x480.jpg")),
                      red = wt::ReadFileBytes(rt::FixturePath("red300x600.jpg"));
    // Monitors of two sizes: 12 kB of fitted pictures, prepared ahead; or 68 MB, more than is kept between
    // phases, prepared at their phase.
    const struct {
        std::vector<RECT> monitors;
        bool ahead;
    } rows[] = {{{{0, 0, 64, 48}, {64, 0, 160, 24}}, true}, {{{0, 0, 4096, 2160}, {4096, 0, 7936, 2160}}, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.ahead ? "prepared ahead" : "prepared at the phase");
        wt::TempDir dir;
        wt::WriteFileBytes(dir.File("1.jpg"), green);
        wt::WriteFileBytes(dir.File("2.jpg"), red);
        PictureList list;
        list.Append(WidePath(dir.File("1.jpg")));
        list.Append(WidePath(dir.File("2.jpg")));
        std::vector<PictureKind> monitors;
        for (const RECT& m : row.monitors)
            monitors.push_back(PictureKind{m.right - m.left, m.bottom - m.top, ""});
        const PictureScreens screens{row.monitors, DistinctPictureKinds(monitors)};
        rt::CDibSurface surface(row.monitors.back().right, row.monitors.front().bottom);
        PictureWorkspace work;
        CPictureAhead pictures(list, screens.kinds.kinds, work, [] { return false; });
        // Each phase: prepared ahead (the first during the loading screen), the file changed, then shown. A
        // picture prepared ahead shows as prepared; otherwise the file shows as it is at its phase.
        const struct {
            const std::string& changedTo;
            bool (*shows)(uint32_t);
        } phases[] = {{red, row.ahead ? IsGreen : IsRed}, {red, IsRed}, {green, row.ahead ? IsRed : IsGreen}};
        for (size_t phase = 0; phase < 3; ++phase) {
            ASSERT_TRUE(pictures.PrepareAhead(surface.DC()));
            const size_t kept =
                work.ShownBytes() + 4 * (work.source.capacity() + work.resampled.capacity()) + work.resizer.capacity();
            EXPECT_LE(kept, kKeptWorkspaceBytes);
            wt::WriteFileBytes(dir.File(phase == 1 ? "2.jpg" : "1.jpg"), phases[phase].changedTo);
            ASSERT_TRUE(pictures.ShowNext(surface.DC(), screens));
            for (const RECT& m : row.monitors)
                EXPECT_TRUE(phases[phase].shows(surface.Pixel((m.left + m.right) / 2, (m.top + m.bottom) / 2)))
                    << "phase " << phase;
        }
    }
}
