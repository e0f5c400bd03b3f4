// The real whorlix.scr as a process: run mode ended by real input (injected with SendInput, as the
// keyboard and mouse would), the password prompt through a stand-in verifier, and the preview's life
// cycle inside a host window of this process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "SaverTestSupport.h"
#include "TestSupport.h"

namespace {

// Finds the saver's visible full-screen window.
HWND FindSaverWindow(const wt::Process& p) {
    HWND found = nullptr;
    wt::WaitUntil([&] {
        HWND w = wt::FindProcessWindow(p.Pid());
        RECT rc{};
        if (w != nullptr && ::GetWindowRect(w, &rc) && rc.right == ::GetSystemMetrics(SM_CXSCREEN))
            found = w;
        return found != nullptr || !p.IsRunning();
    });
    return found;
}

void Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}

void Mouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.mouseData = data;
    in.mi.dwFlags = flags;
    ::SendInput(1, &in, sizeof in);
}

// Repeats stimulus until the process ends (or the deadline passes); true with exit status 0.
bool EndsWithStatusZero(wt::Process& p, const std::function<void()>& stimulus) {
    bool ended = wt::WaitUntil(
        [&] {
            if (!p.IsRunning())
                return true;
            stimulus();
            ::Sleep(100);
            return !p.IsRunning();
        },
        30000);
    DWORD code = 0xDEAD;
    return ended && p.WaitExit(5000, &code) && code == 0;
}

class SaverProcess : public ::testing::Test {
protected:
    void SetUp() override { m_scr = wt::CopyScrInto(m_dir); }
    bool StartRun() {
        if (!m_process.Start("\"" + m_scr + "\" /s"))
            return false;
        m_hWnd = FindSaverWindow(m_process);
        return m_hWnd != nullptr;
    }
    wt::TempDir m_dir;
    std::string m_scr;
    wt::Process m_process;
    HWND m_hWnd = nullptr;
};

} // namespace

TEST_F(SaverProcess, KeyPressEndsItWithStatusZero) {
    ASSERT_TRUE(StartRun());
    EXPECT_TRUE(EndsWithStatusZero(m_process, [] {
        Key('A', false);
        Key('A', true);
    }));
}

TEST_F(SaverProcess, MouseMovementEndsIt) {
    ASSERT_TRUE(StartRun());
    int step = 0;
    EXPECT_TRUE(EndsWithStatusZero(m_process, [&] { Mouse(MOUSEEVENTF_MOVE, (++step % 2) ? 7 : -5, 3); }));
}

TEST_F(SaverProcess, EachMouseButtonEndsIt) {
    const DWORD buttons[][2] = {{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                                {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
                                {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}};
    for (const auto& b : buttons) {
        wt::Process p;
        ASSERT_TRUE(p.Start("\"" + m_scr + "\" /s"));
        ASSERT_NE(FindSaverWindow(p), nullptr);
        EXPECT_TRUE(EndsWithStatusZero(p, [&] {
            Mouse(b[0]);
            Mouse(b[1]);
        })) << b[0];
    }
}

TEST_F(SaverProcess, AltF4EndsIt) {
    ASSERT_TRUE(StartRun());
    EXPECT_TRUE(EndsWithStatusZero(m_process, [] {
        Key(VK_MENU, false);
        Key(VK_F4, false);
        Key(VK_F4, true);
        Key(VK_MENU, true);
    }));
}

TEST_F(SaverProcess, ActivatingAnotherApplicationEndsIt) {
    ASSERT_TRUE(StartRun());
    HWND other = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                   nullptr, nullptr, nullptr);
    EXPECT_TRUE(EndsWithStatusZero(m_process, [&] { ::SetForegroundWindow(other); }));
    ::DestroyWindow(other);
}

TEST_F(SaverProcess, WheelAndKeyReleasesDoNotEndItAndItStillAnswersAfterwards) {
    ASSERT_TRUE(StartRun());
    Key(VK_SHIFT, true); // a release of a key that was never pressed
    Mouse(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA);
    Mouse(MOUSEEVENTF_LEFTUP);
    // The saver has handled the input above once it answers a message sent after it.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutA(m_hWnd, WM_NULL, 0, 0, SMTO_BLOCK, 20000, &answer));
    EXPECT_TRUE(m_process.IsRunning());
    EXPECT_TRUE(EndsWithStatusZero(m_process, [] {
        Key('Q', false);
        Key('Q', true);
    }));
}

TEST_F(SaverProcess, RefusedPasswordKeepsItRunningAcceptedPasswordEndsIt) {
    // The flag as a 4-byte 1, then as the string "0" (nonzero bytes: enabled as well).
    for (int variant = 0; variant < 2; ++variant) {
        std::unique_ptr<st::PasswordFlag> flag =
            variant == 0 ? std::make_unique<st::PasswordFlag>(1) : std::make_unique<st::PasswordFlag>(REG_SZ, "0", 2);
        st::PasswordDouble verifier('0');
        wt::Process p;
        ASSERT_TRUE(p.Start("\"" + m_scr + "\" /s"));
        ASSERT_NE(FindSaverWindow(p), nullptr);
        for (int asked = 1; asked <= 2; ++asked) {
            EXPECT_TRUE(wt::WaitUntil([&] {
                Key('A', false);
                Key('A', true);
                ::Sleep(100);
                return verifier.Calls() >= asked;
            })) << variant;
        }
        EXPECT_TRUE(p.IsRunning()) << variant;
        verifier.SetAnswer('1');
        EXPECT_TRUE(EndsWithStatusZero(p, [] {
            Key('B', false);
            Key('B', true);
        })) << variant;
    }
}

TEST(Preview, ChildFillsTheHostAndTheSaverEndsWhenTheHostIsDestroyedAtAnyMoment) {
    wt::TempDir dir;
    std::string scr = wt::CopyScrInto(dir);
    std::srand(12345);
    for (int trial = 0; trial < 12; ++trial) {
        RECT frame{0, 0, 152, 112};
        ::AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, 0);
        HWND host =
            ::CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 100,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(host, nullptr);
        std::string handle = wt::HandleArg(host);
        wt::Process p;
        ASSERT_TRUE(p.Start("\"" + scr + "\" /p " + handle));
        if (trial % 3 == 0) {
            // Wait for the child and check that it fills the client area.
            HWND child = nullptr;
            ASSERT_TRUE(wt::WaitUntil([&] { return (child = ::GetWindow(host, GW_CHILD)) != nullptr; }));
            RECT rc;
            ::GetWindowRect(child, &rc);
            ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_EQ(rc.left, 0);
            EXPECT_EQ(rc.top, 0);
            EXPECT_EQ(rc.right, 152);
            EXPECT_EQ(rc.bottom, 112);
            EXPECT_TRUE(wt::WaitUntil([&] { return (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0; }));
            DWORD childPid = 0;
            ::GetWindowThreadProcessId(child, &childPid);
            EXPECT_EQ(childPid, p.Pid());
        } else {
            // Destroy the host at a random moment of the saver's start-up and loading.
            DWORD delay = static_cast<DWORD>(std::rand() % 1500);
            wt::WaitUntil([] { return false; }, delay);
        }
        ::DestroyWindow(host);
        DWORD code = 0xDEAD;
        bool ended = wt::WaitUntil([&] { return !p.IsRunning(); }, 60000);
        EXPECT_TRUE(ended) << "trial " << trial;
        EXPECT_TRUE(p.WaitExit(1000, &code));
        EXPECT_EQ(code, 0u) << "trial " << trial;
    }
}

TEST_F(SaverProcess, DllsPlantedBesideItAreNeverLoadedInAnyMode) {
    // The password services, and the linked DLLs outside the system's known-DLL list, under Windows' own rule that
    // a DLL of that name beside the program comes first. Not version.dll: Wine's own user32 imports it (Windows'
    // does not), so under that rule every Wine program loads it before its first instruction. The saver reaches
    // it as it reaches winmm.dll, delay-loaded after start-up has restricted the search, which winmm shows.
    const char* planted[] = {"password.cpl", "mpr.dll", "version.dll", "winmm.dll", "comctl32.dll"};
    const wt::CNativeFirstForSaver nativeFirst({"mpr", "winmm", "comctl32"});
    for (const char* name : planted)
        ASSERT_TRUE(::CopyFileA(wt::PlantedDoublePath().c_str(), m_dir.File(name).c_str(), FALSE)) << name;
    const st::PasswordFlag passwordOn(1);
    const HWND owner = wt::MakeOwnerWindow();
    const std::string ownerArg = wt::HandleArg(owner);
    const auto pressKey = [] {
        Key('A', false);
        Key('A', true);
    };
    const struct {
        std::string args;
        std::function<bool(wt::Process&)> works; // the mode did its work and the process ended with status 0
    } modes[] = {
        {"/s", [&](wt::Process& p) { return FindSaverWindow(p) != nullptr && EndsWithStatusZero(p, pressKey); }},
        {"/a " + ownerArg, [](wt::Process& p) { return EndsWithStatusZero(p, [] {}); }},
        {"/c",
         [](wt::Process& p) {
             HWND dlg = nullptr;
             return wt::WaitUntil([&] { return (dlg = wt::FindProcessWindow(p.Pid(), "#32770")) != nullptr; }) &&
                    EndsWithStatusZero(p,
                                       [&] { ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
         }},
    };
    for (const auto& mode : modes) {
        wt::Process p;
        ASSERT_TRUE(p.Start("\"" + m_scr + "\" " + mode.args)) << mode.args;
        EXPECT_TRUE(mode.works(p)) << mode.args;
        for (const char* name : planted)
            EXPECT_FALSE(wt::FileExists(m_dir.File(std::string(name) + ".loaded"))) << mode.args << ": " << name;
    }
    ::DestroyWindow(owner);
}
