// The settings record's defaults, the rule that puts the settings file beside the module, the reading of the
// file's text (stored numbers, the section a login name gives), its rewriting, and a save cut at any moment.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "settings/SaverSettings.h"
#include "settings/SettingsPath.h"
#include "settings/SettingsSave.h"
#include "settings/SettingsText.h"

namespace {
bool NoLeadBytes(unsigned char) {
    return false;
}
// Lead bytes of the Japanese code page (932).
bool JapaneseLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
// Section names compared exactly: the platform's case rules are the store's to hand in (checked under Wine).
const ProfileNames kNames{&JapaneseLeadByte, [](const std::string& a, const std::string& b) { return a == b; }};
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

TEST(ProfileSection, SetsTheKeyAsThePlatformWouldAndKeepsEveryOtherByte) {
    const char* cases[][3] = {
        // section, text before, text after
        {"alice", "", "[alice]\r\nSpeed=3=;x\r\n"}, // a missing or empty file
        {"alice", "[bob]\r\nSpeed=1", "[bob]\r\nSpeed=1\r\n[alice]\r\nSpeed=3=;x\r\n"},
        // The section's name without blanks; the key where it stands, in its stored spelling; the rest as it was.
        {"alice",
         "; shared\r\n[bob]\r\nSpeed = 1\r\n\r\n [ alice ]\r\nx=1\r\n speed = 9 \r\nBackColor=1\r\n[c]\r\nSpeed=2",
         "; shared\r\n[bob]\r\nSpeed = 1\r\n\r\n [ alice ]\r\nx=1\r\nspeed=3=;x\r\nBackColor=1\r\n[c]\r\nSpeed=2"},
        // A new key after the section's last line that is not blank.
        {"alice", "[alice]\r\nx=1\r\n\r\n[bob]\r\n", "[alice]\r\nx=1\r\nSpeed=3=;x\r\n\r\n[bob]\r\n"},
        {"alice", "[alice]\r\nx=1", "[alice]\r\nx=1\r\nSpeed=3=;x\r\n"},
        {"alice", "[alice]\rSpeed=1\r", "[alice]\rSpeed=3=;x\r"}, // a lone CR ends a line too
        // The reader takes the first section and key of a name; a key without '=' is a key; a comment is not.
        {"alice", "[alice]\r\nSpeed=1\r\nSpeed=2\r\n[alice]\r\nSpeed=4\r\n",
         "[alice]\r\nSpeed=3=;x\r\nSpeed=2\r\n[alice]\r\nSpeed=4\r\n"},
        {"alice", "[alice]\r\nSpeed\r\n", "[alice]\r\nSpeed=3=;x\r\n"},
        {"alice", "[alice]\r\n;Speed=1\r\nSpeedy=1\r\n", "[alice]\r\n;Speed=1\r\nSpeedy=1\r\nSpeed=3=;x\r\n"},
        // "\x83\x5D" is one character of code page 932 whose second byte is ']'.
        {"\x83\x5D", "[\x83\x5D]\r\n", "[\x83\x5D]\r\nSpeed=3=;x\r\n"},
    };
    // Every value holds '=' and ';', which are written as they are.
    for (const auto& c : cases)
        EXPECT_EQ(SetProfileKey(c[1], c[0], "Speed", "3=;x", kNames), c[2]) << c[1];

    // A line break would make lines of its own of the rest of the value; UTF-16 text cannot be rewritten byte-wise.
    std::string text, wide("\xFF\xFE[\0", 4);
    EXPECT_FALSE(WriteSettingsSection(text, "alice", {0, 0, 0, "C:\\a\r\n[bob]"}, kNames));
    EXPECT_FALSE(WriteSettingsSection(wide, "alice", SaverSettings(), kNames));
    std::string bigEndian("\xFE\xFF", 2), firstFF("\xFF[", 2), secondFF("[\xFF", 2);
    EXPECT_FALSE(WriteSettingsSection(bigEndian, "alice", SaverSettings(), kNames));
    EXPECT_TRUE(WriteSettingsSection(firstFF, "alice", SaverSettings(), kNames)); // one such byte is no byte-order mark
    EXPECT_TRUE(WriteSettingsSection(secondFF, "alice", SaverSettings(), kNames));
    // Keys match without regard to case, from A to Z.
    EXPECT_EQ(SetProfileKey("[alice]\r\nZAza=1\r\n", "alice", "zaZA", "3", kNames), "[alice]\r\nZAza=3\r\n");
}

namespace {
// The save's file calls on files in memory (path: written bytes, bytes on the disk), with what a cut keeps: a name
// made, emptied, renamed or removed is on the disk at once, bytes written only once flushed. The call numbered
// cutAfter is the last before the cut.
class CutFiles : public ISettingsFiles {
public:
    std::map<std::string, std::pair<std::string, std::string>> files;
    int calls = 0, cutAfter = 0;

    ReadResult Read(const std::string& p, std::string& text) override {
        text = files.count(p) ? files[p].first : "";
        return Step(files.count(p) ? ReadResult::Read : ReadResult::Missing);
    }
    bool createFails = false;
    bool Create(const std::string& p) override {
        return createFails ? Step(false) : (files[m_open = p] = {}, Step(true));
    }
    bool OpenExisting(const std::string& p) override { return Step(files.count(m_open = p) != 0); }
    bool Write(const std::string& text) override { return files[m_open].first = text, Step(true); }
    bool Flush() override { return files[m_open].second = files[m_open].first, Step(true); }
    void Close() override { Step(true); }
    bool Replace(const std::string& from, const std::string& to) override {
        files[to] = files[from];
        return Step(files.erase(from) != 0);
    }
    bool Remove(const std::string& p) override { return Step(files.erase(p) != 0); }
    void Crash() {
        for (auto& f : files)
            f.second.first = f.second.second;
    }

private:
    template <typename T> T Step(T result) {
        if (++calls == cutAfter)
            throw 0; // the cut
        return result;
    }
    std::string m_open;
};
} // namespace

TEST(SettingsSave, ACutAfterAnyCallLeavesTheOldFileOrTheNewOneAndTheNextSaveTidiesUp) {
    const std::string path = "w.ini", old = "; shared\r\n[bob]\r\nSpeed = 1\r\n\r\n[alice]\r\nSpeed=2\r\n";
    const SaverSettings s; // Speed 11, where the file holds 2
    std::string fresh = old;
    ASSERT_TRUE(WriteSettingsSection(fresh, "alice", s, kNames));
    const auto oldOrNew = [&](CutFiles& f) { return f.files[path].first == old || f.files[path].first == fresh; };
    for (int cut = 1, done = 0; !done; ++cut) {
        CutFiles f;
        f.files[path] = {old, old};
        f.cutAfter = cut;
        try {
            EXPECT_TRUE(done = SaveSettingsThrough(f, path, "alice", s, kNames, false));
        } catch (int) {
        }
        f.Crash();
        EXPECT_TRUE(oldOrNew(f)) << "cut after call " << cut;
        f.cutAfter = 0;
        EXPECT_TRUE(SaveSettingsThrough(f, path, "alice", s, kNames, false));
        EXPECT_EQ(f.files.size(), 1u);
        EXPECT_EQ(f.files[path].first, fresh);
    }
    // A temporary that cannot be made fails the save and leaves the file as it was: never written over itself.
    CutFiles refused;
    refused.files[path] = {old, old};
    refused.createFails = true;
    EXPECT_FALSE(SaveSettingsThrough(refused, path, "alice", s, kNames, false));
    EXPECT_EQ(refused.files[path], std::make_pair(old, old));
    // In place (the folder refuses new files): the file written over itself, and never made where there is none.
    CutFiles inPlace, none;
    inPlace.files[path] = {old, old};
    EXPECT_TRUE(SaveSettingsThrough(inPlace, path, "alice", s, kNames, true));
    EXPECT_EQ(inPlace.files, (decltype(inPlace.files){{path, {fresh, fresh}}}));
    EXPECT_FALSE(SaveSettingsThrough(none, path, "alice", s, kNames, true));
    EXPECT_TRUE(none.files.empty());
    // The platform's own write (the file emptied, then written whole, never flushed) fails the same check.
    CutFiles today;
    today.files[path] = {old, old};
    today.Create(path);
    today.Write(fresh);
    today.Crash();
    EXPECT_FALSE(oldOrNew(today));
}
