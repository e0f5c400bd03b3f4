// The link labels' and swatches' colours in each theme, and a colour as a screen reader says it.
#include <gtest/gtest.h>

#include "config/ColorSpeech.h"
#include "config/ThemeColors.h"

TEST(ControlLooks, HighContrastTakesTheThemesColoursAndTheNormalThemeKeepsTheLinkColours) {
    // A black high-contrast face with yellow text and cyan links; the same colours with high contrast off.
    const ThemeColors contrast{true, 0x000000, 0x00FFFF, 0xFFFF00}, normal{false, 0x000000, 0x00FFFF, 0xFFFF00};
    const struct {
        const ThemeColors& theme;
        LinkLook look;
        uint32_t text;
    } rows[] = {
        {normal, LinkLook::Normal, 0xFF0000},    {normal, LinkLook::Focused, 0x0000FF},
        {normal, LinkLook::Hover, 0x0080FF},     {contrast, LinkLook::Normal, 0xFFFF00},
        {contrast, LinkLook::Focused, 0xFFFF00}, {contrast, LinkLook::Hover, 0xFFFF00},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.theme.highContrast << " look " << static_cast<int>(row.look));
        EXPECT_EQ(LinkTextColor(row.look, row.theme), row.text);
        uint32_t outline = 0x123456;
        EXPECT_EQ(OutlineColor(row.theme, outline), row.theme.highContrast);
        EXPECT_EQ(outline, row.theme.highContrast ? 0x00FFFFu : 0x123456u);
    }
}

TEST(ColorSpeech, NamesEachChannelInDecimalAndTheWholeColourInHex) {
    EXPECT_EQ(ColorSpeech("red %1, green %2, blue %3", 0x563412), "red 18, green 52, blue 86");
    EXPECT_EQ(ColorSpeech("%3/%2/%1 %4 %", 0xFF0080), "255/0/128 %4 %");
    EXPECT_EQ(ColorHexText(0x563412), "#123456");
    EXPECT_EQ(ColorHexText(0xFFFFFF), "#FFFFFF");
    EXPECT_EQ(ColorHexText(0x00A0B0), "#B0A000");
}
