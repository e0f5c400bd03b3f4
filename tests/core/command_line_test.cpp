#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

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
    EXPECT_EQ(AtolWin32("\v\f\r9"), 9);
    EXPECT_EQ(AtolWin32("000123"), 123);
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

#ifdef _WIN32
#include <cstdlib>

// Under Windows (and Wine) the C runtime's own atol is the reference.
TEST(Atol, AgreesWithTheSystemRuntime) {
    for (const char* text : {"0", "1234", "  \t\n+77x", "-5", "", "abc", "2147483647", "2147483648", "-2147483648",
                             "-2147483649", "4294967297", "99999999999", "000123", " - 5", "+-5", "\v\f\r9"})
        EXPECT_EQ(AtolWin32(text), static_cast<int32_t>(std::atol(text))) << "'" << text << "'";
}
#endif
