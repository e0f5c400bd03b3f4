#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "settings/SaverSettings.h"

namespace {

// Builds a writable argument vector like the C runtime's.
struct Args {
    std::vector<std::string> storage;
    std::vector<char*> argv;
    explicit Args(std::vector<std::string> args) : storage(std::move(args)) {
        storage.insert(storage.begin(), "whorlix.scr");
        for (std::string& s : storage)
            argv.push_back(s.data());
    }
    ModeRequest Dispatch() { return DispatchCommandLine(static_cast<int>(argv.size()), argv.data()); }
};

ModeRequest Dispatch(std::vector<std::string> args) {
    return Args(std::move(args)).Dispatch();
}

} // namespace

TEST(ModeArgument, MatchesOnlySlashOrDashFollowedByTheLetterAndLowerCasesInPlace) {
    std::string upper = "/SAVE";
    EXPECT_TRUE(MatchModeArg(upper.data(), 's'));
    EXPECT_EQ(upper, "/save");
    for (const char* yes : {"/s", "-S", "/S", "/save", "-s:anything"}) {
        std::string a = yes;
        EXPECT_TRUE(MatchModeArg(a.data(), 's')) << yes;
    }
    for (const char* no : {"s", "/", "", "x", "/x", "\\s", "//s", " /s"}) {
        std::string a = no;
        EXPECT_FALSE(MatchModeArg(a.data(), 's')) << no;
    }
    std::string nonAscii = "/\xC4Z";
    MatchModeArg(nonAscii.data(), 'c');
    EXPECT_EQ(nonAscii, "/\xC4z"); // only A-Z change
}

TEST(ModeDispatch, FollowsTheTableInOrder) {
    EXPECT_EQ(Dispatch({}).mode, SaverMode::Configure);
    for (const char* c : {"/c", "-C", "/config", "/C:"})
        EXPECT_EQ(Dispatch({c}).mode, SaverMode::Configure) << c;
    for (const char* s : {"/s", "-s", "/S", "/settings", "-Save"})
        EXPECT_EQ(Dispatch({s}).mode, SaverMode::Run) << s;
    for (const char* none : {"s", "x", "/x", "/", "", "-", "c", "p"})
        EXPECT_EQ(Dispatch({none}).mode, SaverMode::None) << none;

    ModeRequest preview = Dispatch({"/p", "1234"});
    EXPECT_EQ(preview.mode, SaverMode::Preview);
    EXPECT_EQ(preview.handle, 1234);
    ModeRequest password = Dispatch({"/A", "4321"});
    EXPECT_EQ(password.mode, SaverMode::ChangePassword);
    EXPECT_EQ(password.handle, 4321);
}

TEST(ModeDispatch, ConfigureOwnerComesOnlyFromAColonInTheSameArgument) {
    EXPECT_EQ(Dispatch({"/c:1234"}).handle, 1234);
    EXPECT_EQ(Dispatch({"-C:77x"}).handle, 77);
    EXPECT_EQ(Dispatch({"/c:"}).handle, 0);
    EXPECT_EQ(Dispatch({"/c:x"}).handle, 0);
    ModeRequest separate = Dispatch({"/c", "1234"});
    EXPECT_EQ(separate.mode, SaverMode::Configure);
    EXPECT_EQ(separate.handle, 0);
    EXPECT_EQ(Dispatch({"/config:99"}).handle, 0); // third character is 'o', not ':'
}

TEST(ModeDispatch, MissingHandleReadsAsZero) {
    ModeRequest preview = Dispatch({"/p"});
    EXPECT_EQ(preview.mode, SaverMode::Preview);
    EXPECT_EQ(preview.handle, 0);
    ModeRequest password = Dispatch({"/a"});
    EXPECT_EQ(password.mode, SaverMode::ChangePassword);
    EXPECT_EQ(password.handle, 0);
}

TEST(Atol, ParsesLikeTheCRuntimeWith32BitLong) {
    EXPECT_EQ(AtolWin32("1234"), 1234);
    EXPECT_EQ(AtolWin32("  \t\n1234"), 1234);
    EXPECT_EQ(AtolWin32("+56"), 56);
    EXPECT_EQ(AtolWin32("-56"), -56);
    EXPECT_EQ(AtolWin32("12ab34"), 12);
    EXPECT_EQ(AtolWin32(""), 0);
    EXPECT_EQ(AtolWin32("abc"), 0);
    EXPECT_EQ(AtolWin32("-"), 0);
    EXPECT_EQ(AtolWin32("+-5"), 0);
    EXPECT_EQ(AtolWin32(" - 5"), 0);
    EXPECT_EQ(AtolWin32("2147483647"), 2147483647);
    EXPECT_EQ(AtolWin32("-2147483648"), INT32_MIN);
    // Past 32 bits the value wraps, as the classic runtime's accumulation in a 32-bit long does.
    EXPECT_EQ(AtolWin32("2147483648"), INT32_MIN);
    EXPECT_EQ(AtolWin32("4294967297"), 1);
    EXPECT_EQ(AtolWin32("99999999999"), static_cast<int32_t>(99999999999LL & 0xFFFFFFFF));
}

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

#ifdef _WIN32
#include <cstdlib>

// Under Windows (and Wine) the C runtime's own atol is the reference.
TEST(Atol, AgreesWithTheSystemRuntime) {
    for (const char* text : {"0", "1234", "  \t\n+77x", "-5", "", "abc", "2147483647", "2147483648", "-2147483648",
                             "-2147483649", "4294967297", "99999999999", "000123", " - 5", "+-5", "\v\f\r9"})
        EXPECT_EQ(AtolWin32(text), static_cast<int32_t>(std::atol(text))) << "'" << text << "'";
}
#endif
