// The real whorlix.scr started as a process: which arguments end at once, where the settings file is,
// and the change-password mode through a stand-in of the system's password-change service.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace {

struct Outcome {
    bool ended = false;
    DWORD exitCode = 0xDEAD;
    bool sawWindow = false;
};

// Runs the saver with args and watches it until it ends (or the deadline passes, then it is killed).
Outcome RunWatching(const std::string& scr, const std::string& args, const std::string& cwd = "",
                    const std::vector<std::string>& env = {}, DWORD deadlineMs = 30000) {
    Outcome out;
    wt::Process p;
    if (!p.Start("\"" + scr + "\" " + args, cwd, env))
        return out;
    wt::WaitUntil(
        [&] {
            if (wt::FindProcessWindow(p.Pid()) != nullptr)
                out.sawWindow = true;
            return !p.IsRunning();
        },
        deadlineMs);
    out.ended = p.WaitExit(0, &out.exitCode);
    return out;
}

// The saver started with args ends by itself, with status 0, without ever showing a window.
void ExpectEndsQuietly(const std::string& scr, const char* args) {
    Outcome o = RunWatching(scr, args);
    EXPECT_TRUE(o.ended) << args;
    EXPECT_EQ(o.exitCode, 0u) << args;
    EXPECT_FALSE(o.sawWindow) << args;
}

} // namespace

TEST(Process, UnrecognisedArgumentsEndAtOnceWithStatusZeroAndNoWindow) {
    wt::TempDir dir;
    std::string scr = wt::CopyScrInto(dir);
    for (const char* args : {"s", "x", "/x", "/", "\"\"", "-", "c"})
        ExpectEndsQuietly(scr, args);
    EXPECT_FALSE(wt::FileExists(dir.File("whorlix.ini")));
}

TEST(Process, PreviewAndPasswordWithoutAUsableHandleEndQuietly) {
    wt::TempDir dir;
    std::string scr = wt::CopyScrInto(dir);
    for (const char* args : {"/p", "/p 0", "/p 12345678", "/p x", "/a", "/a 0", "/A 12345678"})
        ExpectEndsQuietly(scr, args);
}

TEST(Process, SettingsFileIsBesideTheModuleWhateverTheWorkingFolder) {
    const struct {
        const char* folder;   // made inside the test folder ("" for none)
        const char* program;  // the saver copy's name
        const char* settings; // where OK must write
        const char* notThere; // where it must not
    } cases[] = {
        {"", "saver.v2.scr", "saver.v2.ini", "saver.ini"},
        // The last dot of the file name counts, not one in a folder name.
        {"my.tools", "whorlix", "my.tools\\whorlix.ini", "my.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + "\\" + c.program);
        wt::TempDir dir;
        wt::TempDir elsewhere;
        if (*c.folder != '\0') {
            ASSERT_TRUE(::CreateDirectoryA(dir.File(c.folder).c_str(), nullptr));
        }
        const std::string scr = dir.File(*c.folder != '\0' ? std::string(c.folder) + "\\" + c.program : c.program);
        ASSERT_TRUE(::CopyFileA(wt::ScrPath().c_str(), scr.c_str(), FALSE));
        wt::Process p;
        ASSERT_TRUE(p.Start("\"" + scr + "\" /c", elsewhere.Path()));
        HWND dlg = nullptr;
        ASSERT_TRUE(wt::WaitUntil([&] { return (dlg = wt::FindProcessWindow(p.Pid(), "#32770")) != nullptr; }));
        // OK saves all six settings into the module's own settings file.
        ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        DWORD code = 0xDEAD;
        ASSERT_TRUE(p.WaitExit(30000, &code));
        EXPECT_TRUE(wt::FileExists(dir.File(c.settings)));
        EXPECT_FALSE(wt::FileExists(elsewhere.File(c.settings)));
        EXPECT_FALSE(wt::FileExists(dir.File(c.notThere)));
    }
}

TEST(Process, ChangePasswordCallsTheSystemServiceWithTheOwnerAndEnds) {
    wt::TempDir dir;
    std::string scr = wt::CopyScrInto(dir);
    // Wine's own mpr.dll has a silent stub of this call; the test run's native-first override for mpr loads the
    // stand-in put in its place in the system folder.
    const wt::CSystemFileStandIn service(wt::MprDoublePath(), "mpr.dll");
    const std::string log = wt::SystemFolder() + "\\mpr.log";
    ::DeleteFileA(log.c_str());
    std::vector<std::string> env;
    HWND owner = wt::MakeOwnerWindow();
    ASSERT_NE(owner, nullptr);
    std::string handle = wt::HandleArg(owner);

    Outcome o = RunWatching(scr, "/a " + handle, "", env);
    EXPECT_TRUE(o.ended);
    EXPECT_EQ(wt::ReadFileBytes(log), "SCRSAVE " + handle + " 0 0000000000000000\n");

    // A handle that names no window: nothing is called.
    ::DeleteFileA(log.c_str());
    o = RunWatching(scr, "/a 12345678", "", env);
    EXPECT_TRUE(o.ended);
    EXPECT_FALSE(wt::FileExists(log));
    ::DestroyWindow(owner);
}

TEST(Process, ChangePasswordWithoutTheServiceEndsAtOnce) {
    wt::TempDir dir;
    std::string scr = wt::CopyScrInto(dir);
    HWND owner = wt::MakeOwnerWindow();
    std::string handle = wt::HandleArg(owner);
    // Wine's built-in service shows nothing: the program just ends.
    Outcome o = RunWatching(scr, "/a " + handle);
    EXPECT_TRUE(o.ended);
    EXPECT_EQ(o.exitCode, 0u);
    EXPECT_FALSE(o.sawWindow);
    ::DestroyWindow(owner);
}
