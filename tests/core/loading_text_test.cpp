#include <gtest/gtest.h>

#include "render/LoadingText.h"

TEST(LoadingText, CentredWithTruncatingDivision) {
    const TextOrigin vga = CenteredTextOrigin(640, 480, 98, 12);
    EXPECT_EQ(vga.x, 271);
    EXPECT_EQ(vga.y, 234);
    const TextOrigin tiny = CenteredTextOrigin(61, 10, 98, 12);
    EXPECT_EQ(tiny.x, -18); // -37 / 2 truncates toward zero
    EXPECT_EQ(tiny.y, -1);
    EXPECT_EQ(LoadingLettersForFrame(0), 0);
    EXPECT_EQ(LoadingLettersForFrame(13), 13);
    EXPECT_EQ(LoadingLettersForFrame(14), kLoadingTextLength);
}
