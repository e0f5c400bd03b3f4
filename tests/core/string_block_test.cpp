#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fw/StringBlock.h"

namespace {
// A block as the resource compiler writes it: sixteen counted strings, missing ones with length 0.
std::vector<uint16_t> Block(const std::vector<std::u16string>& texts) {
    std::vector<uint16_t> units;
    for (size_t i = 0; i < 16; ++i) {
        std::u16string t = i < texts.size() ? texts[i] : u"";
        units.push_back(static_cast<uint16_t>(t.size()));
        units.insert(units.end(), t.begin(), t.end());
    }
    return units;
}
} // namespace

TEST(StringBlock, FindsEachTextByItsIdsPlaceInTheBlock) {
    EXPECT_EQ(StringBlockName(1), 1);
    EXPECT_EQ(StringBlockName(15), 1);
    EXPECT_EQ(StringBlockName(16), 2);
    EXPECT_EQ(StringBlockName(61712), 3858);

    const std::vector<uint16_t> block = Block({u"", u"Whorlix", u"", u"\u8a2d\u5b9a %1", u""});
    const size_t bytes = block.size() * 2;
    struct Case {
        unsigned id;
        std::u16string text;
    } cases[] = {{1, u"Whorlix"}, {17, u"Whorlix"}, {3, u"\u8a2d\u5b9a %1"}, {0, u""}, {15, u""}};
    for (const Case& c : cases) {
        std::u16string text = u"junk";
        EXPECT_TRUE(StringFromBlock(block.data(), bytes, c.id, text)) << c.id;
        EXPECT_EQ(text, c.text) << c.id;
    }
    // Unaligned data reads the same.
    std::vector<unsigned char> shifted(bytes + 1);
    std::memcpy(shifted.data() + 1, block.data(), bytes);
    std::u16string text;
    EXPECT_TRUE(StringFromBlock(shifted.data() + 1, bytes, 3, text));
    EXPECT_EQ(text, u"\u8a2d\u5b9a %1");
}

TEST(StringBlock, DamagedBlocksAreRefusedWithoutReadingPastTheirEnd) {
    const std::vector<uint16_t> block = Block({u"", u"Whorlix"});
    std::u16string text;
    EXPECT_FALSE(StringFromBlock(nullptr, 0, 1, text));
    // Cut inside the text, inside its length, before it: every cut is refused, and the bytes after the
    // cut are never touched (the copy ends there, so a sanitizer would see an overread).
    for (size_t bytes : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{4}, size_t{10}, size_t{17}}) {
        std::vector<unsigned char> cut(bytes);
        std::memcpy(cut.data(), block.data(), bytes);
        EXPECT_FALSE(StringFromBlock(cut.data(), bytes, 1, text)) << bytes;
        EXPECT_TRUE(text.empty());
    }
    // A length that claims more than the block holds.
    std::vector<uint16_t> lying = {0, 0xFFFF, 'W'};
    EXPECT_FALSE(StringFromBlock(lying.data(), lying.size() * 2, 1, text));
    // Texts after a short final block are missing, not garbage.
    EXPECT_FALSE(StringFromBlock(block.data(), 2 * 9, 5, text));
}
