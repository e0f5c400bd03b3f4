// The real render thread of a real CSaverWnd: it never hangs whenever the window is destroyed, it closes the
// saver when its frames cannot be allocated, and it draws the spiral and the pictures in the set colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "TestSupport.h"
#include "render/spiral/SpiralFrames.h"
#include "saver/SaverWnd.h"
#include "settings/SettingsStore.h"

namespace {

// Ends the whole test program if the scope is not left within the deadline: a hang fails instead of blocking.
class CWatchdog {
public:
    CWatchdog(DWORD deadlineMs, std::string what) : m_deadline(deadlineMs), m_what(std::move(what)) {
        m_hDone = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_hThread = ::CreateThread(nullptr, 0, &CWatchdog::Watch, this, 0, nullptr);
    }
    ~CWatchdog() {
        ::SetEvent(m_hDone);
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
        ::CloseHandle(m_hDone);
    }

private:
    static DWORD WINAPI Watch(LPVOID p) {
        CWatchdog* self = static_cast<CWatchdog*>(p);
        if (::WaitForSingleObject(self->m_hDone, self->m_deadline) == WAIT_TIMEOUT) {
            std::fprintf(stderr, "HANG: %s did not finish within %lu ms\n", self->m_what.c_str(),
                         static_cast<unsigned long>(self->m_deadline));
            std::fflush(stderr);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
        return 0;
    }
    DWORD m_deadline;
    std::string m_what;
    HANDLE m_hDone;
    HANDLE m_hThread;
};

class RenderThreadTest : public ::testing::Test {
protected:
    void UseSettings(const SaverSettings& s) { SaveSettings(s, m_ini.c_str()); }
    // A saver window as in preview mode: a visible child filling host. The object deletes itself.
    HWND StartSaver(HWND parent, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE, DWORD exStyle = 0,
                    RenderFaults faults = {}) {
        CSaverWnd* wnd = new CSaverWnd(m_ini, faults);
        if (!wnd->CreateSaverWindow(exStyle, style, RECT{0, 0, w, h}, parent)) {
            delete wnd;
            return nullptr;
        }
        return wnd->m_hWnd;
    }
    wt::TempDir m_dir;
    const std::string m_ini = m_dir.File("whorlix.ini");
};

// Counts the no-op messages by which the render thread announces each drawing to g_nudged's thread.
HWND g_nudged = nullptr;
int g_nudges = 0;
LRESULT CALLBACK CountNudges(int code, WPARAM removed, LPARAM message) {
    const MSG* m = reinterpret_cast<const MSG*>(message);
    if (code >= 0 && removed == PM_REMOVE && m->message == WM_NULL && m->hwnd == g_nudged && g_nudged != nullptr)
        ++g_nudges;
    return ::CallNextHookEx(nullptr, code, removed, message);
}

bool OnlyColours(const std::vector<uint32_t>& pixels, uint32_t a, uint32_t b) {
    bool sawA = false, sawB = false;
    for (uint32_t p : pixels) {
        if (p != a && p != b)
            return false;
        sawA |= p == a;
        sawB |= p == b;
    }
    return sawA && sawB;
}

} // namespace

TEST_F(RenderThreadTest, DestroyingTheWindowAtAnyMomentOfStartUpAndLoadingNeverHangs) {
    // A folder search long enough to be interrupted, and frames big enough to take a while to build.
    const std::string folder = m_dir.File("many");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < 3000; ++i)
        wt::WriteFileBytes(folder + "\\p" + std::to_string(i) + ".jpg", "");
    SaverSettings s;
    s.PictureFile = folder;
    s.Speed = 0;
    UseSettings(s);

    const int trials = 64;
    int hiddenAtDestroy = 0;
    unsigned seed = 12345;
    for (int trial = 0; trial < trials; ++trial) {
        seed = seed * 1103515245u + 12345u;
        const DWORD delay = (seed >> 16) % 250;
        const int variant = trial % 4;
        SCOPED_TRACE(testing::Message() << "trial " << trial << " variant " << variant << " delay " << delay);
        CWatchdog watchdog(60000, "destroy in trial " + std::to_string(trial));
        rt::CTestWindow host(480, 360);
        // Variant 3 is a hidden pop-up like the full-screen window: only the render thread shows it.
        const HWND saver = variant == 3 ? StartSaver(nullptr, 480, 360, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)
                                        : StartSaver(host.Handle(), 480, 360);
        ASSERT_NE(saver, nullptr);
        if (variant == 0 || variant == 3) {
            // No messages answered meanwhile: the render thread is held in its show call when the destroy starts.
            ::Sleep(delay);
        } else {
            // Messages answered: the render thread gets on into loading, searching, building or the frame loop.
            const DWORD until = ::GetTickCount() + delay;
            wt::WaitUntil([until] { return static_cast<LONG>(::GetTickCount() - until) >= 0; }, 10000);
        }
        if (!::IsWindowVisible(saver))
            ++hiddenAtDestroy;
        ::DestroyWindow(variant == 3 ? saver : host.Handle());
        EXPECT_FALSE(::IsWindow(saver));
    }
    // At least every no-message trial destroyed the window before the render thread could show it.
    EXPECT_GE(hiddenAtDestroy, trials / 4);
}

TEST_F(RenderThreadTest, FramesOrADeviceContextThatCannotBeHadCloseTheSaverWindow) {
    UseSettings(SaverSettings{});
    std::vector<RenderFaults> faults;
    for (int failing : {0, 1, 2, 16, 30})
        faults.push_back(RenderFaults{SpiralAllocationFault{failing}});
    faults.push_back(RenderFaults{{}, true});
    for (const RenderFaults& fault : faults) {
        SCOPED_TRACE(testing::Message() << "allocation " << fault.frameAllocation.failingAllocation << ", no DC "
                                        << fault.noWindowDC);
        CWatchdog watchdog(60000, "out-of-memory close");
        rt::CTestWindow host(200, 150);
        const HWND saver = StartSaver(host.Handle(), 200, 150, WS_CHILD | WS_VISIBLE, 0, fault);
        ASSERT_NE(saver, nullptr);
        // The render thread posts WM_CLOSE; answering messages lets it destroy the window.
        EXPECT_TRUE(wt::WaitUntil([saver] { return !::IsWindow(saver); }, 30000));
        EXPECT_TRUE(::IsWindow(host.Handle()));
    }
}

TEST_F(RenderThreadTest, ASaverWindowWhoseRenderThreadCannotStartIsNotCreated) {
    rt::CTestWindow host(200, 150);
    RenderFaults noThread;
    noThread.noThread = true;
    // The creator keeps the object when the creation fails; a window that would never draw does not exist.
    CSaverWnd wnd(m_ini, noThread);
    EXPECT_FALSE(wnd.CreateSaverWindow(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 150}, host.Handle()));
    EXPECT_EQ(::GetWindow(host.Handle(), GW_CHILD), nullptr);
}

TEST_F(RenderThreadTest, SpiralInSetColoursAlternatesWithFittedPicture) {
    SaverSettings s;
    s.FrontColor = RGB(0x00, 0x30, 0xA0);
    s.BackColor = RGB(0xF0, 0xC0, 0x00);
    s.SpiralTime = 1;
    s.PictureTime = 1;
    s.PictureFile = rt::FixturePath("red300x600.jpg");
    UseSettings(s);
    const int w = 320, h = 240;
    const uint32_t front = rt::Rgb(s.FrontColor), back = rt::Rgb(s.BackColor);
    // The picture: 120 x 240 of red at x 100, black bars left and right.
    const auto redPicture = [&](const std::vector<uint32_t>& p) {
        return p[120 * w + 10] == 0 && p[120 * w + 309] == 0 && (p[120 * w + 160] >> 16) > 150 &&
               ((p[120 * w + 160] >> 8) & 0xFF) < 80;
    };
    // A thread that cannot enter a COM apartment decodes no picture, not even the built-in one: black.
    const auto allBlack = [](const std::vector<uint32_t>& p) {
        return std::all_of(p.begin(), p.end(), [](uint32_t px) { return (px & 0xFFFFFF) == 0; });
    };
    RenderFaults noApartment;
    noApartment.noComApartment = true;
    // Where the system has no high-resolution timers, frames are paced in 1 ms steps.
    RenderFaults noFineTimer;
    noFineTimer.noFineTimer = true;
    const struct {
        RenderFaults faults;
        std::function<bool(const std::vector<uint32_t>&)> picture;
    } cases[] = {{{}, redPicture}, {noApartment, allBlack}, {noFineTimer, redPicture}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "COM apartment " << !c.faults.noComApartment << ", fine timer "
                                        << !c.faults.noFineTimer);
        CWatchdog watchdog(120000, "spiral and picture");
        rt::CTestWindow host(w, h);
        const HWND saver = StartSaver(host.Handle(), w, h, WS_CHILD | WS_VISIBLE, 0, c.faults);
        ASSERT_NE(saver, nullptr);
        g_nudged = saver, g_nudges = 0;
        const HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, &CountNudges, nullptr, ::GetCurrentThreadId());
        const auto pictureShown = [&] { return c.picture(rt::ReadWindowPixels(saver, w, h)); };
        const auto spiralShown = [&] { return OnlyColours(rt::ReadWindowPixels(saver, w, h), front, back); };
        EXPECT_TRUE(wt::WaitUntil(pictureShown, 60000));
        EXPECT_TRUE(wt::WaitUntil(spiralShown, 60000));
        EXPECT_TRUE(wt::WaitUntil(pictureShown, 60000));
        // A second of spiral at 31 ms a frame, a picture and the loading screen: every one announced.
        EXPECT_GT(g_nudges, 30);
        ::UnhookWindowsHookEx(hook);
        g_nudged = nullptr;
        ::DestroyWindow(host.Handle());
        EXPECT_FALSE(::IsWindow(saver));
    }
}
