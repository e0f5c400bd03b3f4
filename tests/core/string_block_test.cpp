#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "fw/StringBlock.h"

TEST(StringBlock, FindsTextsByPlaceAndRefusesBlocksThatEndTooSoon) {
    // Block 1 as the resource compiler writes it (ids 0-15): id 1 "Whorlix", id 3 two kanji and "%1".
    std::vector<uint16_t> block = {0, 7, 'W', 'h', 'o', 'r', 'l', 'i', 'x', 0, 4, 0x8a2d, 0x5b9a, '%', '1'};
    block.resize(block.size() + 12, 0);
    std::u16string text;
    EXPECT_EQ(StringBlockName(61712), 3858);
    EXPECT_TRUE(StringFromBlock(block.data(), block.size() * 2, 17, text)); // the 2nd of its block, as id 1
    EXPECT_EQ(text, u"Whorlix");
    EXPECT_TRUE(StringFromBlock(block.data(), block.size() * 2, 3, text));
    EXPECT_EQ(text, u"\u8a2d\u5b9a%1");
    EXPECT_TRUE(StringFromBlock(block.data(), block.size() * 2, 15, text));
    EXPECT_EQ(text, u"");
    // Every cut short of a text is refused, one right after it is not; copies end at the cut, so a sanitizer sees
    // any read past it.
    for (size_t bytes = 0; bytes <= 2 * 9; ++bytes) {
        // Exactly bytes long (also when empty: new[0] still gives a pointer the copy may take).
        std::unique_ptr<unsigned char[]> cut(new unsigned char[bytes]);
        std::memcpy(cut.get(), block.data(), bytes);
        EXPECT_EQ(StringFromBlock(cut.get(), bytes, 1, text), bytes == 2 * 9) << bytes;
    }
    EXPECT_EQ(text, u"Whorlix");
    EXPECT_FALSE(StringFromBlock(nullptr, 64, 1, text)); // a block that could not be loaded
    const uint16_t lying[] = {0, 0xFFFF, 'W'};           // a length past the end
    EXPECT_FALSE(StringFromBlock(lying, sizeof lying, 1, text));
}
