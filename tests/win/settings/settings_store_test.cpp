// The settings store against real INI files through the platform's private-profile calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"

namespace {

std::string Section() {
    return GetSettingsSection();
}

// Writes an INI file in the ANSI code page, without a byte-order mark.
void WriteIni(const std::string& path, const std::string& body) {
    wt::WriteFileBytes(path, body);
}

// The settings a saver of the concurrency test writes, all six told apart by tag, and their section as written.
SaverSettings Tagged(int t) {
    return {
        t, 10 + t, 20 + t, "C:\\" + std::to_string(t), static_cast<uint32_t>(30 + t), static_cast<uint32_t>(40 + t)};
}
std::string TaggedSection(const std::string& user, int tag) {
    const std::string t = std::to_string(tag);
    return "[" + user + "]\r\nSpeed=" + t + "\r\nSpiralTime=1" + t + "\r\nPictureTime=2" + t + "\r\nPictureFile=C:\\" +
           t + "\r\nFrontColor=3" + t + "\r\nBackColor=4" + t + "\r\n";
}

// This test program started again as a saver of the concurrency test ("save FILE TAG USER": once all are ready, 40
// saves as USER; Wine gives a new process the login name afresh, so it is set here) or as a holder of the file's lock
// until it is killed ("hold FILE").
std::string Self() {
    return std::string("\"") + _pgmptr + "\"";
}
int RunChild(int argc, char** argv) {
    if (argc == 3) {
        const CSettingsLock lock(argv[2], 60000);
        ::Sleep(INFINITE);
    }
    CHandle ready(::OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, "whorlix-test-ready"));
    CHandle go(::OpenEventA(SYNCHRONIZE, FALSE, "whorlix-test-go"));
    if (argc < 5 || !::SetEnvironmentVariableA("WINEUSERNAME", argv[4]) ||
        !::ReleaseSemaphore(ready.Get(), 1, nullptr) || ::WaitForSingleObject(go.Get(), 60000) != 0)
        return 100;
    int failed = 0;
    for (int i = 0; i < 40; ++i)
        failed += SaveSettings(Tagged(std::stoi(argv[3])), argv[2]) ? 0 : 1;
    return failed;
}

} // namespace

TEST(SettingsSection, IsTheLoginNameOrTheDocumentedFallback) {
    char name[64] = {};
    DWORD size = sizeof name;
    if (::GetUserNameA(name, &size))
        EXPECT_EQ(Section(), name);
    else
        EXPECT_EQ(Section(), kFallbackSection);
    EXPECT_FALSE(Section().empty());
}

TEST(SettingsSection, ALoginNameTheFileCannotHoldGivesTheFallbackSectionForReadingAndWriting) {
    // Wine takes the login name from WINEUSERNAME: 70 characters do not fit the 64-character buffer, and a line
    // break would split the section header, so that the settings could never be read back.
    for (const std::string& login : {std::string(70, 'u'), std::string("ab\r\nSpeed=40")}) {
        char saved[256] = {};
        const DWORD had = ::GetEnvironmentVariableA("WINEUSERNAME", saved, sizeof saved);
        ::SetEnvironmentVariableA("WINEUSERNAME", login.c_str());
        char name[64] = {};
        DWORD size = sizeof name;
        const BOOL got = ::GetUserNameA(name, &size);
        const std::string section = Section();
        wt::TempDir dir;
        const std::string ini = dir.File("whorlix.ini");
        SaverSettings s;
        s.Speed = 3;
        const bool saved6 = SaveSettings(s, ini.c_str());
        const SaverSettings back = LoadSettings(ini.c_str());
        ::SetEnvironmentVariableA("WINEUSERNAME", had > 0 && had < sizeof saved ? saved : nullptr);

        EXPECT_EQ(got != FALSE, login.size() < sizeof name) << login;
        EXPECT_EQ(section, kFallbackSection) << login;
        EXPECT_TRUE(saved6);
        EXPECT_EQ(wt::ReadFileBytes(ini).substr(0, 13), "[<unknown>]\r\n");
        EXPECT_EQ(back.Speed, 3);
    }
}

TEST(SettingsStore, MissingFileOrOtherUsersSectionGivesTheDefaults) {
    wt::TempDir dir;
    SaverSettings s = LoadSettings(dir.File("none.ini").c_str());
    EXPECT_EQ(s.Speed, 11);
    EXPECT_EQ(s.SpiralTime, 30);
    EXPECT_EQ(s.PictureTime, 15);
    EXPECT_EQ(s.PictureFile, "");
    EXPECT_EQ(s.FrontColor, 0u);
    EXPECT_EQ(s.BackColor, 16777215u);
    EXPECT_FALSE(wt::FileExists(dir.File("none.ini"))); // reading creates nothing

    std::string ini = dir.File("other.ini");
    WriteIni(ini, "[someone-else]\r\nSpeed=3\r\nPictureFile=C:\\x\r\n");
    s = LoadSettings(ini.c_str());
    EXPECT_EQ(s.Speed, 11);
    EXPECT_EQ(s.PictureFile, "");
}

TEST(SettingsStore, FirstWriteCreatesTheKeysInOrderAndKeepsAnotherUsersSectionByteForByte) {
    wt::TempDir dir;
    std::string ini = dir.File("whorlix.ini");
    const std::string other = "[someone-else]\r\nSpeed=3\r\nPictureFile=C:\\pics\r\nBackColor=255\r\n";
    WriteIni(ini, other);

    SaverSettings s;
    s.Speed = 0;
    s.SpiralTime = 100;
    s.PictureTime = 0;
    s.PictureFile = "";
    s.FrontColor = 255;
    s.BackColor = 16777215;
    SaveSettings(s, ini.c_str());

    std::string text = wt::ReadFileBytes(ini);
    ASSERT_EQ(text.compare(0, other.size(), other), 0) << text;
    std::string ours = text.substr(other.size());
    // Keys in order, numbers in "%d" form, the empty path kept as an empty value.
    std::string expected = "[" + Section() +
                           "]\r\nSpeed=0\r\nSpiralTime=100\r\nPictureTime=0\r\nPictureFile=\r\nFrontColor=255\r\n"
                           "BackColor=16777215\r\n";
    // Wine and Windows may separate sections with a blank line; the section itself must match exactly.
    size_t at = ours.find("[" + Section() + "]");
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_EQ(ours.substr(at), expected);

    SaverSettings back = LoadSettings(ini.c_str());
    EXPECT_EQ(back.Speed, 0);
    EXPECT_EQ(back.SpiralTime, 100);
    EXPECT_EQ(back.PictureTime, 0);
    EXPECT_EQ(back.PictureFile, "");
    EXPECT_EQ(back.FrontColor, 255u);
    EXPECT_EQ(back.BackColor, 16777215u);
}

TEST(SettingsStore, ExistingKeysAreReplacedInPlace) {
    wt::TempDir dir;
    std::string ini = dir.File("whorlix.ini");
    WriteIni(ini, "[" + Section() + "]\r\nBackColor=1\r\nSpeed=2\r\n");
    SaverSettings s;
    s.PictureFile = "D:\\Pictures";
    SaveSettings(s, ini.c_str());
    std::string expected = "[" + Section() +
                           "]\r\nBackColor=16777215\r\nSpeed=11\r\nSpiralTime=30\r\nPictureTime=15\r\n"
                           "PictureFile=D:\\Pictures\r\nFrontColor=0\r\n";
    EXPECT_EQ(wt::ReadFileBytes(ini), expected);
}

TEST(SettingsStore, ValuesLoadUnchangedOutsideTheDialogsRanges) {
    wt::TempDir dir;
    std::string ini = dir.File("whorlix.ini");
    WriteIni(ini, "[" + Section() +
                      "]\r\nSpeed=100\r\nSpiralTime=5\r\nPictureTime=-3\r\nFrontColor=-1\r\nBackColor=2147483647\r\n");
    SaverSettings s = LoadSettings(ini.c_str());
    EXPECT_EQ(s.Speed, 100);
    EXPECT_EQ(s.SpiralTime, 5);
    EXPECT_EQ(s.PictureTime, -3);
    EXPECT_EQ(s.FrontColor, 0xFFFFFFFFu);
    EXPECT_EQ(s.BackColor, 2147483647u);
}

TEST(SettingsStore, HandEditedNumbersReadAsThePlatformsIntegerReadReadsThem) {
    wt::TempDir dir;
    const std::string ini = dir.File("whorlix.ini");
    const std::string section = Section();
    const std::string zeros(28, '0'); // the platform looks at a value's first 29 characters only
    const struct {
        std::string text;
        int32_t value;
    } cases[] = {
        {"abc", 0},       {"12abc", 12},     {"", 11},
        {" 7", 7},        {"+-5", 0},        {"\"42\"", 42},
        {"\0015", 5}, // a control byte counts as white space
        {"\2055", 0}, // a lead byte of the Japanese code page is not
        {"0x10", 16},     {"-0x10", -16},    {"0X10", 0},
        {"0o17", 15},     {"0b101", 5},      {"0b2", 0},
        {"0x", 0},        {"4294967301", 5}, {"-2147483649", 2147483647},
        {zeros + "9", 9}, {zeros + "09", 0},
    };
    for (const auto& c : cases) {
        WriteIni(ini, "[" + section + "]\r\nSpeed=" + c.text + "\r\nBackColor=" + c.text + "\r\n");
        const SaverSettings s = LoadSettings(ini.c_str());
        EXPECT_EQ(s.Speed, c.value) << c.text;
        EXPECT_EQ(::GetPrivateProfileIntA(section.c_str(), "Speed", 11, ini.c_str()), static_cast<UINT>(c.value))
            << c.text;
        EXPECT_EQ(s.BackColor, c.text.empty() ? 16777215u : static_cast<uint32_t>(c.value)) << c.text;
    }
}

TEST(SettingsStore, LongPathIsCutTo4095AndColoursRoundTrip) {
    wt::TempDir dir;
    std::string ini = dir.File("whorlix.ini");
    std::string longPath = "C:\\" + std::string(4997, 'p');
    ASSERT_EQ(longPath.size(), 5000u);
    WriteIni(ini, "[" + Section() + "]\r\nPictureFile=" + longPath + "\r\n");
    SaverSettings s = LoadSettings(ini.c_str());
    EXPECT_EQ(s.PictureFile, longPath.substr(0, 4095));

    for (uint32_t colour : {0u, 255u, 0x00FF00u, 16777215u}) {
        SaverSettings c;
        c.FrontColor = colour;
        c.BackColor = colour;
        SaveSettings(c, ini.c_str());
        SaverSettings back = LoadSettings(ini.c_str());
        EXPECT_EQ(back.FrontColor, colour);
        EXPECT_EQ(back.BackColor, colour);
    }
}

TEST(SettingsStore, SavesAtTheSameMomentFromSeveralProcessesTakeTurnsAndLoseNothing) {
    wt::TempDir dir;
    const std::string ini = dir.File("whorlix.ini"), other = "; by hand\r\n[someone-else]\r\nSpeed = 3\r\n\r\n";
    WriteIni(ini, other);
    CHandle ready(::CreateSemaphoreA(nullptr, 0, 3, "whorlix-test-ready"));
    CHandle go(::CreateEventA(nullptr, TRUE, FALSE, "whorlix-test-go"));
    // The dialog open twice by alice with different values, and bob's, 40 saves each, all let go at once.
    std::vector<wt::Process> savers(3);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(
            savers[i].Start(Self() + " save " + ini + " " + std::to_string(i + 1) + (i < 2 ? " alice" : " bob")));
    int readied = 0;
    ASSERT_TRUE(wt::WaitUntil([&] { return (readied += ::WaitForSingleObject(ready.Get(), 0) == 0) == 3; }, 60000));
    ::SetEvent(go.Get());
    for (auto& saver : savers) {
        DWORD failed = 1;
        EXPECT_TRUE(saver.WaitExit(120000, &failed));
        EXPECT_EQ(failed, 0u);
    }
    // alice's last set whole, whichever of hers came last, bob's, and every byte before them as it was.
    const std::string bob = TaggedSection("bob", 3), text = wt::ReadFileBytes(ini);
    bool matched = false;
    for (int a : {1, 2})
        matched |= text == other + TaggedSection("alice", a) + bob || text == other + bob + TaggedSection("alice", a);
    EXPECT_TRUE(matched) << text;
    EXPECT_FALSE(wt::FileExists(SettingsTempPath(ini)));
}

TEST(SettingsStore, ALockHeldTooLongFailsTheSaveACrashedHolderHoldsNothingAndARefusedFolderGetsTheFileInPlace) {
    wt::TempDir dir;
    const std::string ini = dir.File("whorlix.ini"), other = "[someone-else]\r\nSpeed = 3\r\n";
    std::string upper = Section();
    ::CharUpperA(&upper[0]);
    const std::string before = other + "[" + upper + "]\r\nSpeed=1\r\n";
    WriteIni(ini, before);
    wt::Process holder;
    ASSERT_TRUE(holder.Start(Self() + " hold " + ini));
    ASSERT_TRUE(wt::WaitUntil([&] { return !CSettingsLock(ini, 0).Held(); }));
    EXPECT_FALSE(SaveSettings(Tagged(5), ini.c_str()));
    EXPECT_EQ(wt::ReadFileBytes(ini), before);
    holder.Kill();
    {
        // A lock file that is there but cannot be opened (held here without sharing) fails the save too.
        const CFileHandle unshared(
            ::CreateFileA(SettingsLockPath(ini).c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
        EXPECT_FALSE(SaveSettings(Tagged(7), ini.c_str()));
        EXPECT_EQ(wt::ReadFileBytes(ini), before);
    }
    // Wine, run as root, ignores permissions; a folder standing where a file is to be made refuses it all the same.
    // With the temporary and the lock file refused, the save locks the file itself and writes it in place.
    ASSERT_TRUE(::CreateDirectoryA(SettingsTempPath(ini).c_str(), nullptr));
    ::DeleteFileA(SettingsLockPath(ini).c_str());
    ASSERT_TRUE(::CreateDirectoryA(SettingsLockPath(ini).c_str(), nullptr));
    EXPECT_TRUE(SaveSettings(Tagged(6), ini.c_str()));
    // The section found in another case, as the platform's reader finds it.
    EXPECT_EQ(wt::ReadFileBytes(ini), other + TaggedSection(upper, 6));
    EXPECT_EQ(LoadSettings(ini.c_str()).PictureTime, 26);
    // Clearing away a temporary that was never made keeps the error of the step that failed, for the log.
    CSettingsFiles files;
    ::SetLastError(ERROR_DISK_FULL);
    EXPECT_FALSE(files.Remove(dir.File("never-made.tmp")));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
}

int main(int argc, char** argv) {
    if (argc > 2)
        return RunChild(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
