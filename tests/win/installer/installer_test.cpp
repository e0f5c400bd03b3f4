// whorlix-setup.exe and its uninstaller, silent, against the real registry and file system of the prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "TestSupport.h"
#include "res/version.h"

namespace {

const char kUninstKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Whorlix";
const char kDesktopKey[] = "Control Panel\\Desktop";
const char kMissing[] = "(missing)";
const std::string kVersion = std::to_string(WHORLIX_VERSION_MAJOR) + "." + std::to_string(WHORLIX_VERSION_MINOR) + "." +
                             std::to_string(WHORLIX_VERSION_PATCH) + "." + std::to_string(WHORLIX_VERSION_BUILD);

// A string or DWORD value as text; kMissing when it is not there.
std::string Reg(const char* key, const char* value) {
    char buf[1024];
    DWORD size = sizeof buf, type = 0;
    if (::RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, buf, &size))
        return kMissing;
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(buf)) : std::string(buf);
}

bool KeyExists(const char* key) {
    HKEY h = nullptr;
    ::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &h);
    return h != nullptr && ::RegCloseKey(h) == ERROR_SUCCESS;
}

void SetSaver(const char* value) {
    value ? ::RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "SCRNSAVE.EXE", REG_SZ, value, lstrlenA(value) + 1)
          : ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "SCRNSAVE.EXE");
}

DWORD RunToEnd(const std::string& commandLine) {
    wt::Process p;
    DWORD code = 999;
    return p.Start(commandLine) && p.WaitExit(120000, &code) ? code : 999;
}

// folder: chosen with /D=, under a fresh temporary folder (null: the default one); before: SCRNSAVE.EXE before
// setup; chosenAfter: another saver chosen after setup, which uninstall leaves alone (null: none for both).
struct Case {
    const char *name, *folder, *before, *chosenAfter;
};
const Case kCases[] = {
    {"default folder, a saver before", nullptr, "C:\\windows\\system32\\scrnsave.scr", nullptr},
    {"folder with a space, no saver before", "Screen Savers\\Whorlix", nullptr, nullptr},
    {"another saver chosen since", nullptr, nullptr, "C:\\windows\\system32\\other.scr"},
};

} // namespace

TEST(Setup, InstallsRegistersChoosesUpgradesAndUninstallsWithoutATrace) {
    // The setup made beside whorlix.scr, or another setup of it that WHORLIX_SETUP names (a signed release's).
    const char* other = std::getenv("WHORLIX_SETUP");
    const std::string built = wt::ScrPath(), setup = other ? wt::FromUnixPath(other)
                                                           : built.substr(0, built.rfind('\\')) + "\\whorlix-setup.exe";
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kUninstKey);
        SetSaver(c.before);
        wt::TempDir temp;
        char dir[MAX_PATH];
        ::ExpandEnvironmentStringsA("%LOCALAPPDATA%\\Programs\\Whorlix", dir, MAX_PATH);
        const std::string folder = c.folder ? temp.File(c.folder) : dir, scr = folder + "\\whorlix.scr";
        const std::string command = "\"" + setup + "\" /S" + (c.folder ? " /D=" + folder : "");
        ASSERT_EQ(RunToEnd(command), 0u);
        EXPECT_EQ(wt::ReadFileBytes(scr), wt::ReadFileBytes(built));
        wchar_t name[64] = {};
        ::MultiByteToWideChar(CP_ACP, 0, Reg(kUninstKey, "DisplayName").c_str(), -1, name, 64);
        EXPECT_STREQ(name, L"スクリーンセーバー【Whorlix】");
        EXPECT_EQ(Reg(kUninstKey, "DisplayVersion"), kVersion);
        EXPECT_EQ(Reg(kUninstKey, "Publisher"), "Whorlix");
        EXPECT_EQ(Reg(kUninstKey, "DisplayIcon"), scr);
        EXPECT_EQ(Reg(kUninstKey, "InstallLocation"), folder);
        EXPECT_EQ(Reg(kUninstKey, "UninstallString"), "\"" + folder + "\\uninstall.exe\"");
        EXPECT_EQ(Reg(kUninstKey, "QuietUninstallString"), Reg(kUninstKey, "UninstallString") + " /S");
        EXPECT_EQ(Reg(kUninstKey, "NoModify") + Reg(kUninstKey, "NoRepair"), "11");
        EXPECT_GT(std::stoul(Reg(kUninstKey, "EstimatedSize")), 300u); // kB: the saver alone is more
        char shortScr[MAX_PATH] = {};
        ::GetShortPathNameA(scr.c_str(), shortScr, MAX_PATH);
        EXPECT_EQ(Reg(kDesktopKey, "SCRNSAVE.EXE"), c.folder ? shortScr : scr);
        EXPECT_EQ(Reg(kDesktopKey, "ScreenSaveActive"), "1");
        // The installed saver's settings dialog: OK writes its settings beside it.
        wt::Process saver;
        ASSERT_TRUE(saver.Start("\"" + scr + "\" /c"));
        HWND dlg = nullptr;
        ASSERT_TRUE(wt::WaitUntil([&] { return (dlg = wt::FindProcessWindow(saver.Pid(), "#32770")) != nullptr; }));
        ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(saver.WaitExit(30000));
        const std::string ini = wt::ReadFileBytes(folder + "\\whorlix.ini");
        EXPECT_NE(ini.find("Speed=11"), std::string::npos);
        // Setup again over it: the settings stay, and what it replaced the first time is still what comes back.
        ASSERT_EQ(RunToEnd(command), 0u);
        EXPECT_EQ(wt::ReadFileBytes(folder + "\\whorlix.ini"), ini);
        if (c.chosenAfter)
            SetSaver(c.chosenAfter);
        // The uninstaller goes on from a copy of itself after the command has ended.
        EXPECT_EQ(RunToEnd(Reg(kUninstKey, "QuietUninstallString")), 0u);
        EXPECT_TRUE(wt::WaitUntil([&] { return !wt::FileExists(folder) && !KeyExists(kUninstKey); }, 60000));
        EXPECT_EQ(Reg(kDesktopKey, "SCRNSAVE.EXE"), c.chosenAfter ? c.chosenAfter : c.before ? c.before : kMissing);
    }
}
