// The run-mode window in this process, with its real render thread: which messages end it, what it
// swallows, the hidden-window rule and the password services (through a stand-in verifier).
#include <gtest/gtest.h>

#include <string>

#include "SaverTestSupport.h"
#include "TestSupport.h"
#include "saver/FullScreenWnd.h"
#include "saver/SaverPassword.h"

namespace {

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\'));
}

// A run-mode window on the default settings (its settings file does not exist) that can be told to forget its
// reference position.
class CProbeWnd : public CFullScreenWnd {
public:
    CProbeWnd() : CFullScreenWnd(ExeFolder() + "\\no-such-settings.ini") {}
    using CFullScreenWnd::ForgetMouseReference;
};

// A running full-screen saver window owned by this thread.
class RunWindow {
public:
    RunWindow() {
        m_wnd = new CProbeWnd;
        if (!m_wnd->CreateFullScreen()) {
            delete m_wnd;
            m_wnd = nullptr;
            return;
        }
        m_hWnd = m_wnd->m_hWnd;
        // The render thread shows the window; showing needs this thread to answer, so the wait pumps.
        wt::WaitUntil([&] { return ::IsWindowVisible(m_hWnd) != FALSE; });
    }
    ~RunWindow() {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
        DropQuit();
    }
    bool Ok() const { return m_hWnd != nullptr && ::IsWindowVisible(m_hWnd); }
    HWND Hwnd() const { return m_hWnd; }
    CProbeWnd* Wnd() const { return m_wnd; }

    // Sends msg and reports whether the window asked to be closed (a posted WM_CLOSE), taking that request away.
    bool EndsOn(UINT msg, WPARAM w = 0, LPARAM l = 0) {
        ::SendMessageA(m_hWnd, msg, w, l);
        MSG m;
        return ::PeekMessageA(&m, m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
    }
    static void DropQuit() {
        MSG m;
        while (::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

private:
    CProbeWnd* m_wnd = nullptr;
    HWND m_hWnd = nullptr;
};

BOOL SaverRunningFlag() {
    BOOL running = FALSE;
    ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}

} // namespace

TEST(RunWindow, ThatCannotBeCreatedClearsTheRunningFlagAgain) {
    RenderFaults noThread;
    noThread.noThread = true;
    CFullScreenWnd wnd(ExeFolder() + "\\no-such-settings.ini", noThread);
    EXPECT_FALSE(wnd.CreateFullScreen());
    EXPECT_FALSE(SaverRunningFlag());
}

TEST(RunWindow, CoversTheVirtualScreenTopmostAndTellsTheSystemASaverRuns) {
    RunWindow run;
    ASSERT_TRUE(run.Ok());
    RECT rc;
    ::GetWindowRect(run.Hwnd(), &rc);
    EXPECT_EQ(rc.left, ::GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(rc.top, ::GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(rc.right - rc.left, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(rc.bottom - rc.top, ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_TRUE(::GetWindowLongA(run.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(run.Hwnd(), GWL_STYLE)) & ~WS_VISIBLE,
              static_cast<DWORD>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(::GetClassLongA(run.Hwnd(), GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNCLIENT));
    EXPECT_TRUE(SaverRunningFlag());
    // The cursor is hidden over the window.
    EXPECT_EQ(::SendMessageA(run.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(run.Hwnd()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), nullptr);

    ::DestroyWindow(run.Hwnd());
    EXPECT_FALSE(SaverRunningFlag());
    // Destroying the run window asks the message loop to end with status 0.
    MSG m;
    ASSERT_TRUE(::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 0u);
}

TEST(RunWindow, KeyAndButtonPressesAndDeactivationEndItOtherInputDoesNot) {
    RunWindow run;
    ASSERT_TRUE(run.Ok());
    // Nothing of this ends the saver.
    EXPECT_FALSE(run.EndsOn(WM_KEYUP, 'A', 0xC0000001));
    EXPECT_FALSE(run.EndsOn(WM_SYSKEYUP, VK_MENU, 0xC0000001));
    EXPECT_FALSE(run.EndsOn(WM_CHAR, 'a', 1));
    EXPECT_FALSE(run.EndsOn(WM_LBUTTONUP, 0, MAKELPARAM(5, 5)));
    EXPECT_FALSE(run.EndsOn(WM_RBUTTONUP, 0, MAKELPARAM(5, 5)));
    EXPECT_FALSE(run.EndsOn(WM_MBUTTONUP, 0, MAKELPARAM(5, 5)));
    EXPECT_FALSE(run.EndsOn(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(5, 5)));
    EXPECT_FALSE(run.EndsOn(WM_ACTIVATEAPP, TRUE, 0));
    // Each of these does, at once, without any mouse movement first.
    EXPECT_TRUE(run.EndsOn(WM_KEYDOWN, 'A', 1));
    EXPECT_TRUE(run.EndsOn(WM_SYSKEYDOWN, VK_F4, 0x20000001));
    EXPECT_TRUE(run.EndsOn(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)));
    EXPECT_TRUE(run.EndsOn(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(5, 5)));
    EXPECT_TRUE(run.EndsOn(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5)));
    EXPECT_TRUE(run.EndsOn(WM_ACTIVATEAPP, FALSE, 0));
    EXPECT_TRUE(::IsWindow(run.Hwnd())); // the close is only posted
}

TEST(RunWindow, FirstMouseMoveIsTheReferenceAndAOnePixelMoveEndsIt) {
    RunWindow run;
    ASSERT_TRUE(run.Ok());
    // The real pointer may already have given a reference while the window appeared: start afresh.
    run.Wnd()->ForgetMouseReference();
    EXPECT_FALSE(run.EndsOn(WM_MOUSEMOVE, 0, MAKELPARAM(100, 200)));
    EXPECT_EQ(run.Wnd()->MouseReference().x, 100);
    EXPECT_EQ(run.Wnd()->MouseReference().y, 200);
    EXPECT_FALSE(run.EndsOn(WM_MOUSEMOVE, 0, MAKELPARAM(100, 200)));
    EXPECT_TRUE(run.EndsOn(WM_MOUSEMOVE, 0, MAKELPARAM(101, 200)));
    EXPECT_TRUE(run.EndsOn(WM_MOUSEMOVE, 0, MAKELPARAM(100, 199)));
}

TEST(RunWindow, SaverStartAndCloseCommandsAreSwallowedWhateverTheSystemsLowBits) {
    RunWindow run;
    ASSERT_TRUE(run.Ok());
    for (WPARAM command : {SC_SCREENSAVE, SC_CLOSE, SC_SCREENSAVE | 2, SC_CLOSE | 1, SC_CLOSE | 0xF}) {
        ::SendMessageA(run.Hwnd(), WM_SYSCOMMAND, command, 0);
        EXPECT_TRUE(::IsWindow(run.Hwnd())) << command;
    }
    // Any other command takes default processing.
    ::SendMessageA(run.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE | 3, 0);
    EXPECT_TRUE(::IsIconic(run.Hwnd()));
}

TEST(RunWindow, ARenderThreadThatThrowsClosesTheSaverAndTheLoopEndsWithStatusZero) {
    RenderFaults throwing;
    throwing.throwWhileListing = true;
    CFullScreenWnd* wnd = new CFullScreenWnd(ExeFolder() + "\\no-such-settings.ini", throwing);
    ASSERT_TRUE(wnd->CreateFullScreen());
    const HWND hwnd = wnd->m_hWnd;
    // This thread's message loop, as the program's, until the quit request (or a deadline).
    MSG msg{};
    for (const DWORD start = ::GetTickCount(); msg.message != WM_QUIT && ::GetTickCount() - start < 30000;) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
            ::DispatchMessageA(&msg);
    }
    ASSERT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(SaverRunningFlag());
    RunWindow::DropQuit();
}

TEST(RunWindow, InputWhileHiddenIsIgnored) {
    RunWindow run;
    ASSERT_TRUE(run.Ok());
    ::ShowWindow(run.Hwnd(), SW_HIDE);
    EXPECT_FALSE(run.EndsOn(WM_KEYDOWN, 'A', 1));
    EXPECT_FALSE(run.EndsOn(WM_LBUTTONDOWN, 0, 0));
    EXPECT_FALSE(run.EndsOn(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1)));
    EXPECT_FALSE(run.EndsOn(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)));
}

TEST(Password, FlagIsReadFromTheRegistryAsRawBytesAtEveryCall) {
    CSaverPassword password;
    {
        st::PasswordFlag off(0);
        EXPECT_EQ(password.IsPasswordEnabled(), 0u);
    }
    {
        st::PasswordFlag on(1);
        EXPECT_NE(password.IsPasswordEnabled(), 0u);
    }
    EXPECT_EQ(password.IsPasswordEnabled(), 0u); // value missing
    {
        // The type is not examined: the strings "1" and "0" both have nonzero bytes.
        st::PasswordFlag one(REG_SZ, "1", 2);
        EXPECT_NE(password.IsPasswordEnabled(), 0u);
        st::PasswordFlag zero(REG_SZ, "0", 2);
        EXPECT_NE(password.IsPasswordEnabled(), 0u);
        st::PasswordFlag empty(REG_SZ, "", 1);
        EXPECT_EQ(password.IsPasswordEnabled(), 0u);
    }
    {
        // Longer than 4 bytes: enabled exactly when any byte is nonzero.
        const BYTE zeros[8] = {};
        st::PasswordFlag allZero(REG_BINARY, zeros, sizeof zeros);
        EXPECT_EQ(password.IsPasswordEnabled(), 0u);
        const BYTE late[8] = {0, 0, 0, 0, 0, 0, 0, 1};
        st::PasswordFlag lateByte(REG_BINARY, late, sizeof late);
        EXPECT_NE(password.IsPasswordEnabled(), 0u);
        st::PasswordFlag longString(REG_SZ, "00000000", 9);
        EXPECT_NE(password.IsPasswordEnabled(), 0u);
    }
}

TEST(Password, WithoutTheVerifierEveryEndRequestPasses) {
    st::PasswordFlag on(1);
    ASSERT_FALSE(wt::FileExists(wt::SystemFolder() + "\\password.cpl"));
    CSaverPassword password;
    EXPECT_TRUE(password.VerifyPassword(nullptr));
    RunWindow run;
    ASSERT_TRUE(run.Ok());
    EXPECT_TRUE(run.EndsOn(WM_KEYDOWN, 'A', 1));
}

TEST(Password, RefusedPasswordKeepsTheSaverAndForgetsTheReferenceAcceptedOneEndsIt) {
    st::PasswordFlag on(1);
    st::PasswordDouble verifier('0');
    RunWindow run;
    ASSERT_TRUE(run.Ok());
    run.Wnd()->ForgetMouseReference();
    EXPECT_FALSE(run.EndsOn(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)));
    EXPECT_FALSE(run.EndsOn(WM_MOUSEMOVE, 0, MAKELPARAM(11, 10)));
    EXPECT_EQ(verifier.Calls(), 1);
    EXPECT_EQ(run.Wnd()->MouseReference().x, -1);
    EXPECT_EQ(run.Wnd()->MouseReference().y, -1);
    // The next move only re-arms the reference; the next key asks again.
    EXPECT_FALSE(run.EndsOn(WM_MOUSEMOVE, 0, MAKELPARAM(50, 50)));
    EXPECT_EQ(verifier.Calls(), 1);
    EXPECT_FALSE(run.EndsOn(WM_KEYDOWN, 'A', 1));
    EXPECT_EQ(verifier.Calls(), 2);

    verifier.SetAnswer('1');
    EXPECT_TRUE(run.EndsOn(WM_LBUTTONDOWN, 0, 0));
    EXPECT_EQ(verifier.Calls(), 3);

    // Turning the flag off while the saver runs takes effect at the next input: no prompt.
    wt::SetPasswordFlag(0, nullptr, 0);
    EXPECT_TRUE(run.EndsOn(WM_KEYDOWN, 'B', 1));
    EXPECT_EQ(verifier.Calls(), 3);
}

TEST(Password, InputDuringAnOpenPromptDoesNotStackASecondPrompt) {
    st::PasswordFlag on(1);
    st::PasswordDouble verifier('0');
    RunWindow run;
    ASSERT_TRUE(run.Ok());
    // The stand-in prompt runs a message loop: these reach the window while it is open.
    ::PostMessageA(run.Hwnd(), WM_KEYDOWN, 'B', 1);
    ::PostMessageA(run.Hwnd(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_FALSE(run.EndsOn(WM_KEYDOWN, 'A', 1));
    EXPECT_EQ(verifier.Calls(), 1);
    // Once the prompt is closed, input asks again.
    EXPECT_FALSE(run.EndsOn(WM_KEYDOWN, 'C', 1));
    EXPECT_EQ(verifier.Calls(), 2);
}
