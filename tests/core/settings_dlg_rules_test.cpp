#include <gtest/gtest.h>

#include "config/SettingsDlgRules.h"

namespace {
// Lead bytes of the Japanese code page.
bool Cp932Lead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
} // namespace

TEST(BrowseFolder, KeepsTextUpToTheLastBackslash) {
    EXPECT_EQ(BrowseInitialFolder("C:\\pics\\a.jpg", Cp932Lead), "C:\\pics\\");
    EXPECT_EQ(BrowseInitialFolder("C:\\pics\\", Cp932Lead), "C:\\pics\\");
    // A folder named without a trailing backslash: its parent.
    EXPECT_EQ(BrowseInitialFolder("C:\\pics", Cp932Lead), "C:\\");
    EXPECT_EQ(BrowseInitialFolder("a.jpg", Cp932Lead), "");
    EXPECT_EQ(BrowseInitialFolder("", Cp932Lead), "");
}

TEST(BrowseFolder, TrailByteBackslashIsNotASeparator) {
    // "表" is 0x95 0x5C in the Japanese code page.
    const std::string hyo = "\x95\x5C";
    EXPECT_EQ(BrowseInitialFolder("C:\\pics\\" + hyo, Cp932Lead), "C:\\pics\\");
    EXPECT_EQ(BrowseInitialFolder("C:\\" + hyo + "\\a.jpg", Cp932Lead), "C:\\" + hyo + "\\");
    EXPECT_EQ(BrowseInitialFolder(hyo, Cp932Lead), "");
    // Without a code page's help every 0x5C counts.
    EXPECT_EQ(BrowseInitialFolder(hyo, nullptr), hyo);
}

TEST(VersionText, PrefixFromTranslationAndFirstLine) {
    EXPECT_EQ(VersionStringPrefix(0x04B00411u), "\\StringFileInfo\\041104b0\\");
    EXPECT_EQ(VersionStringPrefix(0x04E40409u), "\\StringFileInfo\\040904e4\\");
    EXPECT_EQ(VersionLine("Name", "1.10"), "Name version 1.10");
}

TEST(VersionText, TranslationInTheDialogsLanguageElseTheFirstListed) {
    const uint32_t entries[] = {0x04E40409u, 0x04B00411u, 0x03A40411u};
    EXPECT_EQ(PickTranslation(entries, 3, 0x0411), 0x04B00411u);
    EXPECT_EQ(PickTranslation(entries, 3, 0x0407), 0x04E40409u);
    EXPECT_EQ(PickTranslation(entries, 0, 0x0409), 0u); // no translation: no strings to address
}
