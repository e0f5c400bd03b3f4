// Photo headers (frame size, camera orientation), the size caps, and turning and resampling the pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "render/picture/JpegInfo.h"
#include "render/picture/PictureLimits.h"
#include "render/picture/PictureScaler.h"

namespace {

std::string Be16(uint32_t v) {
    return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}

// A 16- or 32-bit TIFF value in the given byte order.
std::string Tiff16(bool big, uint32_t v) {
    std::string s = Be16(v);
    return big ? s : std::string{s[1], s[0]};
}
std::string Tiff32(bool big, uint32_t v) {
    return big ? Tiff16(true, v >> 16) + Tiff16(true, v & 0xFFFF) : Tiff16(false, v & 0xFFFF) + Tiff16(false, v >> 16);
}

std::string Segment(uint8_t marker, const std::string& payload) {
    return std::string{'\xFF', static_cast<char>(marker)} + Be16(static_cast<uint32_t>(payload.size() + 2)) + payload;
}

std::string Frame(uint8_t marker, uint32_t w, uint32_t h, int components) {
    return Segment(marker, std::string(1, 8) + Be16(h) + Be16(w) + std::string(1, static_cast<char>(components)) +
                               std::string(3 * components, '\x11'));
}

struct IfdEntry {
    uint16_t tag, type;
    uint32_t count;
    uint16_t value;
};

// A TIFF structure whose first directory (at ifdOffset) holds entries and points on to nextIfd.
std::string Tiff(bool big, const std::vector<IfdEntry>& entries, uint32_t nextIfd = 0, uint32_t ifdOffset = 8,
                 uint16_t claimedCount = 0xFFFF) {
    std::string t = (big ? "MM" : "II") + Tiff16(big, 42) + Tiff32(big, ifdOffset);
    t.resize(ifdOffset < 8 ? 8 : ifdOffset, '\0');
    t += Tiff16(big, claimedCount != 0xFFFF ? claimedCount : static_cast<uint16_t>(entries.size()));
    for (const IfdEntry& e : entries)
        t += Tiff16(big, e.tag) + Tiff16(big, e.type) + Tiff32(big, e.count) + Tiff16(big, e.value) + Tiff16(big, 0);
    return t + Tiff32(big, nextIfd);
}

IfdEntry Orientation(uint16_t value) {
    return {0x0112, 3, 1, value};
}

std::string Exif(const std::string& tiff) {
    return Segment(0xE1, std::string("Exif\0\0", 6) + tiff);
}

const std::string kSoi("\xFF\xD8", 2);
const std::string kScan = Segment(0xDA, std::string(10, '\x01')) + std::string(64, '\x5A') + "\xFF\xD9";

// A photo's headers as a camera writes them: Exif first, then the frame, then the scan.
std::string Photo(const std::string& tiff, uint32_t w = 4032, uint32_t h = 3024) {
    return kSoi + Exif(tiff) + Frame(0xC0, w, h, 3) + kScan;
}

// A colour profile of total bytes: its header's size field, data colour space and signature, the rest a pattern
// that shows where each byte went when chunks are joined.
std::string IccProfile(size_t total, const char* space = "RGB ", const char* signature = "acsp") {
    std::string p(total, '\0');
    for (size_t i = 0; i < total; ++i)
        p[i] = static_cast<char>(i * 7 + i / 251);
    p.replace(0, 4, Be16(static_cast<uint32_t>(total >> 16)) + Be16(total & 0xFFFF));
    p.replace(16, 4, space);
    p.replace(36, 4, signature);
    return p;
}

// One APP2 chunk of a profile: its sequence number, the chunk count and its part of the profile.
std::string IccChunk(int sequence, int count, const std::string& part) {
    return Segment(0xE2,
                   std::string("ICC_PROFILE\0", 12) + static_cast<char>(sequence) + static_cast<char>(count) + part);
}

// A whole profile in as few chunks as the segments' size allows, numbered in order.
std::string IccChunks(const std::string& profile) {
    const size_t most = 65535 - 2 - 14, count = (profile.size() + most - 1) / most;
    std::string chunks;
    for (size_t i = 0; i < count; ++i)
        chunks += IccChunk(static_cast<int>(i + 1), static_cast<int>(count), profile.substr(i * most, most));
    return chunks;
}

JpegInfo Read(const std::string& block) {
    // An exact-size heap copy, so that the address sanitizer sees any read past the end.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[block.size()]);
    std::copy(block.begin(), block.end(), copy.get());
    return ReadJpegInfo(copy.get(), block.size());
}

} // namespace

TEST(JpegInfo, ExifOrientationInBothByteOrdersAndEveryMalformation) {
    const std::string xmp = Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33));
    const std::string loop = Tiff(false, {Orientation(6)}, 8); // the directory names itself as the next one
    const std::string truncated = Tiff(true, {Orientation(6)});
    struct Case {
        const char* what;
        std::string block;
        int orientation;
    } cases[] = {
        {"little-endian 6", Photo(Tiff(false, {{0x010F, 2, 4, 0}, Orientation(6)})), 6},
        {"big-endian 3", Photo(Tiff(true, {Orientation(3)})), 3},
        {"big-endian 8, directory further on", Photo(Tiff(true, {Orientation(8)}, 0, 40)), 8},
        {"every value 1-8 kept: 5", Photo(Tiff(false, {Orientation(5)})), 5},
        {"no orientation tag", Photo(Tiff(false, {{0x0110, 2, 4, 0}})), 1},
        {"value 0", Photo(Tiff(false, {Orientation(0)})), 1},
        {"value 9", Photo(Tiff(true, {Orientation(9)})), 1},
        {"type LONG", Photo(Tiff(false, {{0x0112, 4, 1, 6}})), 1},
        {"count 2", Photo(Tiff(false, {{0x0112, 3, 2, 6}})), 1},
        {"directory past the end", Photo("II" + Tiff16(false, 42) + Tiff32(false, 0xFFFFFFF0u) + std::string(20, '\0')),
         1},
        {"directory offset inside the header", Photo(Tiff(false, {Orientation(6)}, 0, 4)), 1},
        {"directory offset inside the header, where reading on would find an entry",
         Photo("II" + Tiff16(false, 42) + Tiff32(false, 4) + std::string(10, '\0') +
               Tiff(false, {Orientation(6)}).substr(10, 12) + std::string(24, '\0')),
         1},
        {"entry past the directory's count", Photo(Tiff(false, {Orientation(6)}, 0, 8, 0)), 1},
        {"entry count past the end", Photo(Tiff(false, {Orientation(6)}, 0, 8, 2000)), 1},
        {"entry cut short", Photo(truncated.substr(0, truncated.size() - 8)), 1},
        {"byte order IM", Photo("IM" + Tiff(false, {Orientation(6)}).substr(2)), 1},
        {"byte order MI", Photo("MI" + Tiff(true, {Orientation(6)}).substr(2)), 1},
        {"magic 43", Photo("II\x2B" + Tiff(false, {Orientation(6)}).substr(3)), 1},
        {"looping directory chain", Photo(loop), 6},
        {"Exif block shorter than its header", kSoi + Segment(0xE1, std::string("Exif\0\0II", 8)) + kScan, 1},
        {"Exif length past the block", kSoi + Exif(loop).substr(0, 20), 1},
        {"other APP1 first", kSoi + xmp + Exif(Tiff(true, {Orientation(6)})) + kScan, 6},
        {"only the first Exif block counts", kSoi + Exif(Tiff(false, {})) + Exif(Tiff(false, {Orientation(6)})) + kScan,
         1},
        {"only the first Exif block counts, even an empty one",
         kSoi + Exif("") + Exif(Tiff(false, {Orientation(6)})) + kScan, 1},
        {"Exif after the scan is not read", kSoi + kScan + Exif(Tiff(false, {Orientation(6)})), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.block).orientation, c.orientation) << c.what;
}

TEST(JpegInfo, FrameHeaderSizeComponentsKindAndColourProfile) {
    const std::string icc = IccProfile(300), head = icc.substr(0, 150), tail = icc.substr(150);
    const std::string big = IccProfile(kMaxColourProfileBytes), bare = IccProfile(128);
    const auto tagged = [](const std::string& chunks, int components) {
        return kSoi + chunks + Frame(0xC0, 8, 8, components) + kScan;
    };
    const std::string fill("\xFF\xFF\xFF", 3);
    const std::string restarts("\xFF\xD0\xFF\xD7", 4);
    struct Case {
        const char* what;
        std::string block;
        bool hasFrame;
        uint32_t w, h;
        int components;
        bool progressive;
        std::string profile = ""; // the joined colour profile expected; none where empty
    } cases[] = {
        {"baseline", Photo(Tiff(false, {})), true, 4032, 3024, 3, false},
        {"progressive", kSoi + Frame(0xC2, 800, 600, 3) + kScan, true, 800, 600, 3, true},
        {"progressive, arithmetic-coded", kSoi + Frame(0xCA, 800, 600, 3) + kScan, true, 800, 600, 3, true},
        {"the frame's fixed fields alone", kSoi + Frame(0xC0, 10, 20, 0), true, 10, 20, 0, false},
        {"CMYK", kSoi + Frame(0xC0, 640, 480, 4) + kScan, true, 640, 480, 4, false},
        {"largest", kSoi + Frame(0xC1, 65535, 65535, 1) + kScan, true, 65535, 65535, 1, false},
        {"fill bytes and the first and last restart marker before it", kSoi + fill + restarts + Frame(0xC0, 10, 20, 3),
         true, 10, 20, 3, false},
        {"the last frame marker, after an empty segment", kSoi + Segment(0xE0, "") + Frame(0xCF, 320, 240, 3) + kScan,
         true, 320, 240, 3, false},
        {"DHT and DAC are not frames", kSoi + Segment(0xC4, "abcdefg") + Segment(0xCC, "abcdefg") + kScan, false, 0, 0,
         0, false},
        {"height left to a later marker", kSoi + Frame(0xC0, 640, 0, 3) + kScan, false, 0, 0, 0, false},
        {"frame header cut short", kSoi + Segment(0xC0, std::string("\x08\x01\x00\x01", 4)), false, 0, 0, 0, false},
        {"segment length past the end", (kSoi + Frame(0xC0, 640, 480, 3)).substr(0, 12), false, 0, 0, 0, false},
        {"segment length below 2", kSoi + "\xFF\xE0" + Be16(1) + Frame(0xC0, 640, 480, 3), false, 0, 0, 0, false},
        {"frame after the scan", kSoi + kScan + Frame(0xC0, 640, 480, 3), false, 0, 0, 0, false},
        {"frame right after the scan header", kSoi + Segment(0xDA, std::string(10, '\x01')) + Frame(0xC0, 640, 480, 3),
         false, 0, 0, 0, false},
        {"not a JPEG", "BM" + Frame(0xC0, 640, 480, 3), false, 0, 0, 0, false},
        {"an end marker where the start belongs", "\xFF\xD9" + Frame(0xC0, 640, 480, 3), false, 0, 0, 0, false},
        {"garbage between segments", kSoi + "junk" + Frame(0xC0, 640, 480, 3), false, 0, 0, 0, false},
        {"only the start marker", kSoi, false, 0, 0, 0, false},
        // Colour profiles: joined by sequence number wherever their chunks stand before the scan, kept only whole.
        {"profile in three chunks out of order, one after the frame",
         kSoi + IccChunk(3, 3, icc.substr(200)) + IccChunk(1, 3, icc.substr(0, 100)) + Frame(0xC2, 8, 8, 3) +
             IccChunk(2, 3, icc.substr(100, 100)) + kScan,
         true, 8, 8, 3, true, icc},
        {"profile of the largest size", tagged(IccChunks(big), 3), true, 8, 8, 3, false, big},
        {"profile one byte too large", tagged(IccChunks(IccProfile(big.size() + 1)), 3), true, 8, 8, 3, false},
        {"sequence 0", tagged(IccChunk(0, 1, icc), 3), true, 8, 8, 3, false},
        {"a chunk twice", tagged(IccChunk(1, 2, head) + IccChunk(1, 2, tail), 3), true, 8, 8, 3, false},
        {"a chunk missing", tagged(IccChunk(1, 3, head) + IccChunk(3, 3, tail), 3), true, 8, 8, 3, false},
        {"counts disagree", tagged(IccChunk(1, 2, head) + IccChunk(2, 3, tail), 3), true, 8, 8, 3, false},
        {"profile cut short of its size field", tagged(IccChunk(1, 1, icc.substr(1)), 3), true, 8, 8, 3, false},
        {"profile of a header alone", tagged(IccChunk(1, 1, bare), 3), true, 8, 8, 3, false, bare},
        {"profile shorter than a header", tagged(IccChunk(1, 1, IccProfile(127)), 3), true, 8, 8, 3, false},
        {"signature not acsp", tagged(IccChunk(1, 1, IccProfile(300, "RGB ", "ascp")), 3), true, 8, 8, 3, false},
        {"grey profile on a colour picture", tagged(IccChunk(1, 1, IccProfile(300, "GRAY")), 3), true, 8, 8, 3, false},
        {"colour profile on a grey picture", tagged(IccChunk(1, 1, icc), 1), true, 8, 8, 1, false},
        {"colour profile on a CMYK picture", tagged(IccChunk(1, 1, icc), 4), true, 8, 8, 4, false},
        {"chunk header cut short", tagged(Segment(0xE2, std::string("ICC_PROFILE\0\1", 13)), 3), true, 8, 8, 3, false},
    };
    for (const Case& c : cases) {
        const JpegInfo info = Read(c.block);
        EXPECT_TRUE(std::string(info.iccProfile.begin(), info.iccProfile.end()) == c.profile) << c.what;
        EXPECT_EQ(info.hasFrame, c.hasFrame) << c.what;
        EXPECT_EQ(info.width, c.w) << c.what;
        EXPECT_EQ(info.height, c.h) << c.what;
        EXPECT_EQ(info.components, c.components) << c.what;
        EXPECT_EQ(info.progressive, c.progressive) << c.what;
    }
    EXPECT_FALSE(ReadJpegInfo(nullptr, 0).hasFrame);
    EXPECT_EQ(ReadTiffOrientation(nullptr, 100), 1);
}

// Mutated headers never make the reader read outside the block (the sanitizers watch) or report nonsense.
TEST(JpegInfo, SurvivesMutatedBlocks) {
    const std::string tiffs[] = {
        Tiff(false, {{0x010F, 2, 4, 0}, Orientation(6)}, 8),
        Tiff(true, {Orientation(3), {0x8769, 4, 1, 26}}, 0, 40),
        Tiff(true, {Orientation(8)}, 8),
    };
    // Whole blocks exercise the marker walk; bare Exif structures put the directory's offsets and counts where
    // a mutation hits them often.
    const std::vector<std::string> seeds = {
        Photo(tiffs[0]),
        Photo(tiffs[1]),
        kSoi + Segment(0xE0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14)) + Exif(tiffs[2]) + Frame(0xC2, 300, 600, 4) +
            kScan,
        tiffs[0],
        tiffs[1],
        tiffs[2],
    };
    std::mt19937 random(20261207);
    const uint8_t special[] = {0x00, 0x01, 0x02, 0x08, 0x12, 0x2A, 0x4D, 0x49, 0x7F, 0x80, 0xD8, 0xDA, 0xE1, 0xFF};
    size_t withFrame = 0, turned = 0;
    for (int i = 0; i < 240000; ++i) {
        const size_t seed = i % seeds.size();
        std::string block = seeds[seed];
        const int mutations = 1 + static_cast<int>(random() % 4);
        for (int m = 0; m < mutations && !block.empty(); ++m) {
            const size_t at = random() % block.size();
            switch (random() % 5) {
            case 0:
                block[at] = static_cast<char>(random() & 0xFF);
                break;
            case 1:
                block[at] = static_cast<char>(special[random() % sizeof special]);
                break;
            case 2:
                block.resize(at);
                break;
            case 3: {
                // A length, count or offset that points near the end of what holds it.
                const uint32_t v = random() % (block.size() + 16);
                const std::string field = random() % 2 ? Tiff32(random() % 2, v) : Tiff16(random() % 2, v);
                block.replace(at, field.size(), field);
                break;
            }
            default:
                block.insert(at, 1 + random() % 3, static_cast<char>(special[random() % sizeof special]));
            }
        }
        if (seed >= 3) {
            std::unique_ptr<uint8_t[]> copy(new uint8_t[block.size()]);
            std::copy(block.begin(), block.end(), copy.get());
            const int orientation = ReadTiffOrientation(copy.get(), block.size());
            ASSERT_TRUE(orientation >= 1 && orientation <= 8) << i;
            turned += orientation != 1;
            continue;
        }
        const JpegInfo info = Read(block);
        ASSERT_TRUE(info.orientation >= 1 && info.orientation <= 8) << i;
        if (info.hasFrame) {
            ASSERT_TRUE(info.width >= 1 && info.width <= 65535) << i;
            ASSERT_TRUE(info.height >= 1 && info.height <= 65535) << i;
        }
        withFrame += info.hasFrame;
        turned += info.orientation != 1;
    }
    // Many blocks stayed readable, so the deep paths ran, not just the first checks.
    EXPECT_GT(withFrame, 60000u);
    EXPECT_GT(turned, 60000u);
}

TEST(PictureLimits, RealPhotosPassAndMonstersDoNot) {
    EXPECT_TRUE(PictureFileSizeAllowed(100ull << 20));      // a 100 MB panorama
    EXPECT_FALSE(PictureFileSizeAllowed(700ull << 20));     // a disk image named .jpg
    EXPECT_FALSE(PictureFileSizeAllowed((4ull << 30) + 1)); // its low 32 bits alone would pass
    EXPECT_TRUE(PicturePixelsAllowed(8688, 5792));          // a 50 MP camera
    EXPECT_TRUE(PicturePixelsAllowed(30000, 7500));         // a stitched panorama
    EXPECT_FALSE(PicturePixelsAllowed(65535, 65535));       // the largest a frame header can claim
    EXPECT_FALSE(PicturePixelsAllowed(0, 480));
    EXPECT_FALSE(PicturePixelsAllowed(640, -480));
    EXPECT_FALSE(PicturePixelsAllowed(1ll << 40, 1ll << 40)); // a product that would overflow 64 bits
}

TEST(PictureScaler, EveryOrientationTurnsTheStoredPixels) {
    const uint32_t stored[] = {1, 2, 3, 4, 5, 6}; // 3 x 2
    const std::vector<std::vector<uint32_t>> shown = {
        {1, 2, 3, 4, 5, 6}, {3, 2, 1, 6, 5, 4}, {6, 5, 4, 3, 2, 1}, {4, 5, 6, 1, 2, 3},
        {1, 4, 2, 5, 3, 6}, {4, 1, 5, 2, 6, 3}, {6, 3, 5, 2, 4, 1}, {3, 6, 2, 5, 1, 4},
    };
    for (int o = 0; o <= 9; ++o) {
        std::vector<uint32_t> out(6);
        OrientPixels(stored, 3, 2, o, out.data());
        EXPECT_EQ(out, shown[o >= 1 && o <= 8 ? o - 1 : 0]) << "orientation " << o;
        EXPECT_EQ(OrientationSwapsAxes(o), o >= 5 && o <= 8);
    }
}

TEST(PictureScaler, ShrinkingAveragesAndEnlargingIsSmooth) {
    // One-pixel checkerboard shrunk by an uneven factor: every pixel an even grey, no aliasing.
    const int sw = 403, sh = 302, dw = 102, dh = 77;
    std::vector<uint32_t> checker(sw * sh);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
            checker[y * sw + x] = (x + y) % 2 ? 0xFFFFFF : 0;
    std::vector<uint32_t> small(dw * dh);
    ASSERT_TRUE(ResamplePixels(checker.data(), sw, sh, small.data(), dw, dh));
    for (uint32_t px : small)
        for (int shift = 0; shift < 24; shift += 8)
            ASSERT_NEAR(static_cast<int>((px >> shift) & 0xFF), 128, 12);
    // A flat colour stays flat to the edges, shrunk or enlarged (nothing dark creeps in from outside).
    std::vector<uint32_t> flat(sw * sh, 0x3080C0), big(640 * 480);
    ASSERT_TRUE(ResamplePixels(flat.data(), sw, sh, small.data(), dw, dh));
    ASSERT_TRUE(ResamplePixels(flat.data(), sw, sh, big.data(), 640, 480));
    for (uint32_t px : small)
        ASSERT_EQ(px & 0xFFFFFF, 0x3080C0u);
    for (uint32_t px : big)
        ASSERT_EQ(px & 0xFFFFFF, 0x3080C0u);
    // Black next to white enlarged 8 times: a ramp through greys, not two blocks.
    const uint32_t pair[] = {0, 0xFFFFFF};
    std::vector<uint32_t> ramp(16);
    ASSERT_TRUE(ResamplePixels(pair, 2, 1, ramp.data(), 16, 1));
    int greys = 0;
    for (size_t i = 0; i < ramp.size(); ++i) {
        const int v = ramp[i] & 0xFF;
        greys += v > 8 && v < 247;
        if (i > 0) {
            EXPECT_GE(v, static_cast<int>(ramp[i - 1] & 0xFF));
        }
    }
    EXPECT_GE(greys, 6);
    EXPECT_FALSE(ResamplePixels(pair, 2, 1, ramp.data(), 0, 1));
    EXPECT_FALSE(ResamplePixels(pair, 2, 1, ramp.data(), 16, 0));
    EXPECT_FALSE(ResamplePixels(pair, 0, 1, ramp.data(), 16, 1));
    EXPECT_FALSE(ResamplePixels(pair, 2, 0, ramp.data(), 16, 1));
}

TEST(PictureScaler, TurnsUprightAfterResampling) {
    // Stored 40 x 20 with a dark left half; orientation 6 (turned a quarter clockwise) shows it 20 x 40 with the
    // dark half on top; shown at half size, 10 x 20. Orientation 8 puts it at the bottom.
    std::vector<uint32_t> stored(40 * 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            stored[y * 40 + x] = x < 20 ? 0x101010 : 0xF0F0F0;
    for (int o : {6, 8}) {
        std::vector<uint32_t> shown(10 * 20);
        ASSERT_TRUE(ScaleOrientedPicture(stored.data(), 40, 20, o, shown.data(), 10, 20));
        const uint32_t top = shown[2 * 10 + 5] & 0xFFFFFF, bottom = shown[17 * 10 + 5] & 0xFFFFFF;
        EXPECT_EQ(top, o == 6 ? 0x101010u : 0xF0F0F0u) << o;
        EXPECT_EQ(bottom, o == 6 ? 0xF0F0F0u : 0x101010u) << o;
    }
    EXPECT_FALSE(ScaleOrientedPicture(stored.data(), 40, 20, 6, std::vector<uint32_t>(20).data(), 0, 20));
    // Shown as stored, the picture is resampled straight into the target: no copy to turn is made.
    for (int o : {1, 2}) {
        PictureWorkspace w;
        std::vector<uint32_t> shown(20 * 10);
        ASSERT_TRUE(ScaleOrientedPicture(stored.data(), 40, 20, o, shown.data(), 20, 10, &w));
        EXPECT_EQ(shown[5 * 20 + 2] & 0xFFFFFF, o == 1 ? 0x101010u : 0xF0F0F0u) << o;
        EXPECT_EQ(w.resampled.empty(), o == 1) << o;
    }
}
