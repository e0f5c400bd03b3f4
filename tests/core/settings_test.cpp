// The settings record's defaults, the rule that puts the settings file beside the module, and the reading of the
// file's text: stored numbers and the section a login name gives.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/SaverSettings.h"
#include "settings/SettingsPath.h"
#include "settings/SettingsText.h"

namespace {
bool NoLeadBytes(unsigned char) {
    return false;
}
// Lead bytes of the Japanese code page (932).
bool JapaneseLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
} // namespace

TEST(SettingsPath, ReplacesEverythingAfterTheLastDotOfTheFileName) {
    const struct {
        const char* module;
        const char* settings;
    } cases[] = {
        {"C:\\Windows\\whorlix.scr", "C:\\Windows\\whorlix.ini"},
        {"D:\\Tools\\whorlix.SCR", "D:\\Tools\\whorlix.ini"},
        {"D:\\my.tools\\saver.v2.scr", "D:\\my.tools\\saver.v2.ini"},
        {"D:\\Tools\\whorlix.", "D:\\Tools\\whorlix.ini"},
        {"D:\\Tools\\whorlix", "D:\\Tools\\whorlix.ini"},
        // A dot in a folder name is not the file name's.
        {"D:\\my.tools\\whorlix", "D:\\my.tools\\whorlix.ini"},
        {"my.tools/whorlix", "my.tools/whorlix.ini"},
        {"C:.\\whorlix", "C:.\\whorlix.ini"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsPathFromModule(c.module, &NoLeadBytes), c.settings) << c.module;
}

TEST(SettingsPath, ReadsTheCodePagesCharactersWhole) {
    // "表" is 0x95 0x5C in code page 932. "v1.表w": a trail byte read as a separator would hide the dot and append
    // ".ini" instead.
    EXPECT_EQ(SettingsPathFromModule("D:\\v1.\x95\x5Cw", &JapaneseLeadByte), "D:\\v1.ini");
    EXPECT_EQ(SettingsPathFromModule("D:\\v1.\x95\x5Cw", &NoLeadBytes), "D:\\v1.\x95\x5Cw.ini");
    // A lead byte at the very end has no trail byte: it is taken as a byte of its own.
    EXPECT_EQ(SettingsPathFromModule("D:\\w.scr\x95", &JapaneseLeadByte), "D:\\w.ini");
    EXPECT_EQ(CharacterLength("w\x95", 1, &JapaneseLeadByte), 1u);
}

TEST(SettingsDefaults, AreTheOneSetEveryReaderUses) {
    SaverSettings s;
    EXPECT_EQ(s.Speed, 11);
    EXPECT_EQ(s.SpiralTime, 30);
    EXPECT_EQ(s.PictureTime, 15);
    EXPECT_EQ(s.PictureFile, "");
    EXPECT_EQ(s.FrontColor, 0u);
    EXPECT_EQ(s.BackColor, 16777215u);
}

TEST(SettingsText, StoredNumbersReadAsThePlatformsIntegerReadReadsThem) {
    // The rows the store's test checks against the platform under Wine, less those about quotes and the buffer's
    // length, which are not this reader's; and the first and last digit of each range.
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"", 11},       {"abc", 0},     {"12abc", 12},     {" 7", 7},      {"+-5", 0},
        {"\0015", 5},   {"\2055", 0},   {"0x10", 16},      {"-0x10", -16}, {"0X10", 0},
        {"0o17", 15},   {"0b101", 5},   {"0b2", 0},        {"0x", 0},      {"05", 5},
        {"0xaFz", 175}, {"0xA9:", 169}, {"4294967301", 5}, {"+90", 90},    {"-2147483649", 2147483647},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfileIntFromText(c.text, 11), c.value) << c.text;
}

TEST(SettingsText, SectionIsTheLoginNameWhereAHeaderCanHoldIt) {
    char name[64] = "alice";
    EXPECT_EQ(SectionFromUserName(name, sizeof name, true), "alice");
    EXPECT_EQ(SectionFromUserName(name, sizeof name, false), kFallbackSection); // the call failed
    EXPECT_EQ(SectionFromUserName(name, 5, true), kFallbackSection);            // no end inside the buffer
    for (const char* bad : {"", "a\nb", "a\rb"}) {
        std::strcpy(name, bad);
        EXPECT_EQ(SectionFromUserName(name, sizeof name, true), kFallbackSection) << bad;
    }
}
