#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "render/picture/PictureFit.h"
#include "render/picture/PictureList.h"
#include "render/picture/PictureScaler.h"

// The list's cursor points into the list itself, so a copy would walk the original's entries.
static_assert(!std::is_copy_constructible_v<PictureList> && !std::is_copy_assignable_v<PictureList>);

namespace {

// Plays back a fixed sequence of draws and counts them.
struct ScriptedDraw {
    std::vector<int> values;
    size_t next = 0;
    int operator()() { return values.at(next++); }
};

// The entries as narrow text: the names here are ASCII.
std::vector<std::string> Order(const PictureList& list) {
    std::vector<std::string> order;
    for (const std::wstring& entry : list.Entries())
        order.emplace_back(entry.begin(), entry.end());
    return order;
}

// Draws like the C library generator (0 to 32767) from a fixed-seed engine.
RandomDraw SeededDraw(std::mt19937& engine) {
    return [&engine] { return static_cast<int>(engine() >> 17); };
}

bool IsCp932LeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool NoLeadBytes(unsigned char) {
    return false;
}

} // namespace

TEST(PictureFit, ReferenceExamplesFor640x480Picture) {
    const int32_t W = 16933, H = 12700;
    const FitRect big = FitPicture(1280, 1024, W, H); // bars above and below
    EXPECT_EQ(big.x, 0);
    EXPECT_EQ(big.y, 32);
    EXPECT_EQ(big.width, 1280);
    EXPECT_EQ(big.height, 960);
    const FitRect preview = FitPicture(152, 112, W, H); // hfit 114 > 112: bars left and right
    EXPECT_EQ(preview.x, 1);
    EXPECT_EQ(preview.y, 0);
    EXPECT_EQ(preview.width, 149);
    EXPECT_EQ(preview.height, 112);
    const FitRect exact = FitPicture(1024, 768, W, H);
    EXPECT_EQ(exact.x, 0);
    EXPECT_EQ(exact.y, 0);
    EXPECT_EQ(exact.width, 1024);
    EXPECT_EQ(exact.height, 768);
}

TEST(PictureFit, HugePicturesAndPicturesWithoutArea) {
    // A 100,000-pixel square picture on a 4K target: the products exceed 32 bits.
    const FitRect square = FitPicture(3840, 2160, 2645833, 2645833);
    EXPECT_EQ(square.x, 840);
    EXPECT_EQ(square.y, 0);
    EXPECT_EQ(square.width, 2160);
    EXPECT_EQ(square.height, 2160);
    const FitRect none = FitPicture(640, 480, 0, 12700);
    EXPECT_EQ(none.width, 640);
    EXPECT_EQ(none.height, 480);
    EXPECT_EQ(FitPicture(640, 480, 16933, 0).height, 480);
}

TEST(PictureList, CursorCyclesFromHeadAndEmptyListGivesNothing) {
    PictureList list;
    EXPECT_EQ(list.TakeNext(), nullptr);
    list.Append(L"a");
    list.Append(L"b");
    list.Append(L"c");
    std::wstring seen;
    for (int i = 0; i < 7; ++i)
        seen += *list.TakeNext();
    EXPECT_EQ(seen, L"abcabca");
    list.Clear();
    EXPECT_EQ(list.TakeNext(), nullptr);
}

TEST(PictureShuffle, DrawnSlotChoosesGap) {
    PictureList list;
    ScriptedDraw draws{{7, 1, 2, 0, 4}};
    CShuffledInserter inserter(list, std::ref(draws));
    inserter.Add(L"a"); // 1 slot: 7 % 1 = 0, the tail
    EXPECT_EQ(Order(list), (std::vector<std::string>{"a"}));
    inserter.Add(L"b"); // 1 % 2 = 1: before a
    EXPECT_EQ(Order(list), (std::vector<std::string>{"b", "a"}));
    inserter.Add(L"c"); // 2 % 3 = 2: before b
    EXPECT_EQ(Order(list), (std::vector<std::string>{"c", "b", "a"}));
    inserter.Add(L"d"); // 0: the tail
    EXPECT_EQ(Order(list), (std::vector<std::string>{"c", "b", "a", "d"}));
    inserter.Add(L"e"); // 4 % 5 = 4: before d
    EXPECT_EQ(Order(list), (std::vector<std::string>{"c", "b", "a", "e", "d"}));
    EXPECT_EQ(inserter.Slots(), 6u);
    EXPECT_EQ(draws.next, 5u);
}

TEST(PictureShuffle, EveryOrderOfFourFilesEquallyLikely) {
    std::mt19937 engine(20240611);
    const RandomDraw draw = SeededDraw(engine);
    std::map<std::string, int> counts;
    const int runs = 24000;
    for (int run = 0; run < runs; ++run) {
        PictureList list;
        CShuffledInserter inserter(list, draw);
        for (const wchar_t* name : {L"a", L"b", L"c", L"d"})
            inserter.Add(name);
        std::string order;
        for (const std::string& e : Order(list))
            order += e;
        ++counts[order];
    }
    ASSERT_EQ(counts.size(), 24u);
    const double expected = runs / 24.0;
    double chiSquare = 0;
    for (const auto& entry : counts)
        chiSquare += (entry.second - expected) * (entry.second - expected) / expected;
    // 23 degrees of freedom: 49.73 is the 0.1% point. The seed is fixed, so the result is too.
    EXPECT_LT(chiSquare, 49.73);
}

TEST(PictureShuffle, MoreThan32768SlotsUseTwoDrawsAndReachEveryGap) {
    // Up to 32768 slots: one draw.
    ScriptedDraw one{{32767}};
    EXPECT_EQ(DrawSlot(32768, std::ref(one)), 32767u);
    EXPECT_EQ(one.next, 1u);
    // Beyond: (first << 15 | second) % slots, two draws.
    ScriptedDraw two{{1, 7000}};
    EXPECT_EQ(DrawSlot(40000, std::ref(two)), 39768u);
    EXPECT_EQ(two.next, 2u);
    ScriptedDraw wrap{{32767, 32767}};
    EXPECT_EQ(DrawSlot(40000, std::ref(wrap)), static_cast<size_t>((1 << 30) - 1) % 40000);

    // With a seeded generator the upper slots, unreachable by one draw, come up as often as the lower ones.
    std::mt19937 engine(7);
    const RandomDraw draw = SeededDraw(engine);
    const size_t slots = 50000;
    const int bins = 50, samples = 200000;
    std::vector<int> hist(bins);
    for (int i = 0; i < samples; ++i)
        ++hist[DrawSlot(slots, draw) * bins / slots];
    double chiSquare = 0;
    const double expected = static_cast<double>(samples) / bins;
    for (int h : hist)
        chiSquare += (h - expected) * (h - expected) / expected;
    EXPECT_LT(chiSquare, 85.35); // 49 degrees of freedom, 0.1% point

    // A folder of 40,000 files: a late file can go before one found after the 32,768th.
    PictureList list;
    std::vector<int> values(40000, 0); // every file to the tail (one draw each up to 32768 slots)
    values.resize(32767);
    ScriptedDraw scripted{values};
    CShuffledInserter inserter(list, std::ref(scripted));
    for (int i = 0; i < 32767; ++i)
        inserter.Add(std::to_wstring(i));
    // 32768 slots now: one draw; the new file goes to the tail.
    scripted.values.push_back(0);
    inserter.Add(L"tail");
    ASSERT_EQ(inserter.Slots(), 32769u);
    // 32769 slots: two draws; slot 32768 holds "tail".
    scripted.values.push_back(1);
    scripted.values.push_back(0);
    inserter.Add(L"late");
    const std::vector<std::string> order = Order(list);
    ASSERT_EQ(order.size(), 32769u);
    EXPECT_EQ(order[32767], "late");
    EXPECT_EQ(order[32768], "tail");
}

TEST(FolderPath, TrailingBackslashesRemovedAndOneAppended) {
    EXPECT_EQ(FolderWithOneBackslash("C:\\pics", NoLeadBytes), "C:\\pics\\");
    EXPECT_EQ(FolderWithOneBackslash("C:\\pics\\", NoLeadBytes), "C:\\pics\\");
    EXPECT_EQ(FolderWithOneBackslash("C:\\pics\\\\\\", NoLeadBytes), "C:\\pics\\");
    EXPECT_EQ(FolderWithOneBackslash("C:\\", NoLeadBytes), "C:\\"); // a drive root stays itself
    EXPECT_EQ(FolderWithOneBackslash("\\\\server\\share\\", NoLeadBytes), "\\\\server\\share\\");
}

TEST(FolderPath, DoubleByteCharacterEndingIn5CSurvives) {
    // 0x95 0x5C is one code page 932 character whose second byte is a backslash.
    const std::string folder = "C:\\\x95\x5C";
    EXPECT_EQ(FolderWithOneBackslash(folder, IsCp932LeadByte), folder + "\\");
    EXPECT_EQ(FolderWithOneBackslash(folder + "\\\\", IsCp932LeadByte), folder + "\\");
    EXPECT_EQ(FolderWithOneBackslash("C:\\\x95\x5C\x95\x5C\\", IsCp932LeadByte), "C:\\\x95\x5C\x95\x5C\\");
    // Read byte by byte, the same path would lose half a character.
    EXPECT_EQ(FolderWithOneBackslash(folder, NoLeadBytes), "C:\\\x95\\");
    // A lead byte with nothing after it is a character of its own.
    EXPECT_EQ(FolderWithOneBackslash("ab\x95", IsCp932LeadByte), "ab\x95\\");
}

TEST(PictureWorkspace, KeptWithinTheBoundPictureAsShownFirstThenDecodedWholeBuffersOnly) {
    PictureWorkspace w;
    w.shown.resize(2); // two monitor sizes
    std::vector<uint32_t>&shown = w.shown[0].pixels, &other = w.shown[1].pixels;
    w.source.resize(100), w.resampled.resize(50), shown.resize(20), other.resize(5), w.resizer.resize(60);
    EXPECT_EQ(w.ShownBytes(), 100u);
    w.KeepWithin(560); // 100 + 400: the resampled copy does not fit beside those; what comes after it still does
    EXPECT_TRUE(w.source.capacity() == 100 && w.resampled.capacity() == 0 && w.ShownBytes() == 100 &&
                w.resizer.capacity() == 60);
    w.KeepWithin(399); // a source over what the picture as shown leaves goes, the rest stays
    EXPECT_EQ(w.source.capacity() + w.ShownBytes() + w.resizer.capacity(), 160u);
    w.KeepWithin(90); // even the picture as shown is kept only as far as it fits, buffer by buffer
    EXPECT_TRUE(shown.capacity() == 20 && other.capacity() == 0 && w.resizer.capacity() == 0);
}
