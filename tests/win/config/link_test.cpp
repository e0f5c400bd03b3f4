// The link labels of the settings dialog in the real whorlix.scr, with a recorder standing in for the
// programs the shell would start.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "ConfigDriver.h"

using ct::ConfigRun;
using ct::ProtocolRecorder;

namespace {

const char kUrl[] = "http://www.example.jp/whorlix/";
const char kMail[] = "mailto:support@example.jp";

class LinkLabel : public ::testing::Test {
protected:
    ConfigRun run;
    std::string record = run.dir.File("opened.txt");
    ProtocolRecorder mailto{"mailto", record};
    ProtocolRecorder http{"http", record};

    std::string Opened() const { return wt::ReadFileBytes(record); }
    bool WaitOpened(const std::string& lines) const {
        return wt::WaitUntil([&] { return Opened() == lines; });
    }
    // The pointer onto a label (it takes the capture to see the pointer leave) and the left button pressed there.
    static void HoverAndPress(HWND label) {
        ::PostMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        ::PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    }
    // Client-coordinate rectangle of a control of the dialog.
    static RECT RectIn(HWND dlg, HWND control) {
        RECT rc;
        ::GetWindowRect(control, &rc);
        ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
};

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Where a label of template 102 stands before any painting, and what the label's first paint makes of it:
// the same template instantiated in this process, in the same font, serves as the reference.
RECT ExpectedLinkRect(const std::string& scr, int id) {
    ::InitCommonControls();
    HMODULE module = ::LoadLibraryExA(scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(102), MAKEINTRESOURCEA(5));
    auto* tmpl = static_cast<LPCDLGTEMPLATEA>(::LockResource(::LoadResource(module, res)));
    HWND dlg = ::CreateDialogIndirectParamA(
        ::GetModuleHandleA(nullptr), tmpl, nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    RECT result{};
    if (dlg != nullptr) {
        HWND label = ::GetDlgItem(dlg, id);
        RECT rc;
        ::GetWindowRect(label, &rc);
        ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
        char caption[256] = {};
        ::GetWindowTextA(label, caption, sizeof caption);
        HDC dc = ::GetDC(label);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)));
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, caption, static_cast<int>(strlen(caption)), &extent);
        ::SelectObject(dc, old);
        ::ReleaseDC(label, dc);
        result = {rc.left, rc.top - 1, rc.left + extent.cx + 2, rc.top - 1 + extent.cy + 2};
        ::DestroyWindow(dlg);
    }
    ::FreeLibrary(module);
    return result;
}

} // namespace

TEST_F(LinkLabel, FirstPaintSizesEachLabelToItsCaptionPlusOnePixelAround) {
    ASSERT_TRUE(run.Open("/c"));
    for (int id : {1021, 1022}) {
        SCOPED_TRACE(id);
        RECT want = ExpectedLinkRect(run.scr, id);
        ASSERT_GT(want.right - want.left, 2);
        EXPECT_TRUE(wt::WaitUntil([&] {
            RECT got = RectIn(run.dlg, run.Item(id));
            return ::EqualRect(&want, &got) != FALSE;
        })) << "want "
            << RectText(want) << " got " << RectText(RectIn(run.dlg, run.Item(id)));
    }
    run.Key(VK_ESCAPE);
    ASSERT_TRUE(run.WaitEnded());
}

TEST_F(LinkLabel, EnterOnAFocusedLabelOpensItsTargetAndTheDialogStaysOpen) {
    ASSERT_TRUE(run.Open("/c"));
    run.FocusItem(1022);
    ASSERT_TRUE(run.WaitFocus(run.Item(1022)));
    run.Key(VK_RETURN);
    EXPECT_TRUE(WaitOpened(std::string(kMail) + "\n")) << Opened();
    EXPECT_TRUE(run.IsOpen());

    run.FocusItem(1021);
    ASSERT_TRUE(run.WaitFocus(run.Item(1021)));
    run.Key(VK_RETURN);
    EXPECT_TRUE(WaitOpened(std::string(kMail) + "\n" + kUrl + "\n")) << Opened();
    EXPECT_TRUE(run.IsOpen());
    run.Key(VK_ESCAPE);
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_FALSE(run.IniExists());
}

TEST_F(LinkLabel, OnlyAReleaseOverThePressedLabelOpensIt) {
    ASSERT_TRUE(run.Open("/c"));
    HWND mail = run.Item(1022);
    HWND url = run.Item(1021);
    // Press, drag off, release: nothing.
    HoverAndPress(mail);
    ::PostMessageA(mail, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-40, 3));
    ::PostMessageA(mail, WM_LBUTTONUP, 0, MAKELPARAM(-40, 3));
    // Keys are ignored while the left button is held on the label.
    ::PostMessageA(mail, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_TRUE(run.WaitFocus(mail));
    run.Key(VK_RETURN);
    run.Key(VK_ESCAPE);
    ::PostMessageA(mail, WM_LBUTTONUP, 0, MAKELPARAM(-40, 3));
    // A right button on a hovering label cancels it.
    ::PostMessageA(url, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ::PostMessageA(url, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
    ::PostMessageA(url, WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    // A middle button in the middle of a press cancels the press, so the release opens nothing.
    ::PostMessageA(url, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::PostMessageA(url, WM_MBUTTONDOWN, MK_LBUTTON | MK_MBUTTON, MAKELPARAM(3, 3));
    ::PostMessageA(url, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    // None of that opened anything or closed the dialog: the first thing recorded is this click.
    ConfigRun::Click(url, 3, 3);
    EXPECT_TRUE(WaitOpened(std::string(kUrl) + "\n")) << Opened();
    EXPECT_TRUE(run.IsOpen());
    run.FocusItem(1022);
    ASSERT_TRUE(run.WaitFocus(mail));
    run.Key(VK_RETURN);
    EXPECT_TRUE(WaitOpened(std::string(kUrl) + "\n" + kMail + "\n")) << Opened();
    run.Key(VK_ESCAPE);
    ASSERT_TRUE(run.WaitEnded());
}

TEST_F(LinkLabel, APressWhoseCaptureIsTakenAwayLetsGoSoKeysReachTheDialogAgain) {
    ASSERT_TRUE(run.Open("/c"));
    HWND mail = run.Item(1022);
    HWND slider = run.Item(1001);
    HoverAndPress(mail);
    ASSERT_TRUE(run.WaitFocus(mail));
    // Another window takes the mouse: the slider, pressed, holds it until its own release.
    RECT rc;
    ::GetClientRect(slider, &rc);
    ::PostMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right / 2, rc.bottom / 2));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(wt::WaitUntil([&] { return ::GetGUIThreadInfo(run.proc.Tid(), &info) && info.hwndCapture == slider; }));
    ::PostMessageA(slider, WM_LBUTTONUP, 0, MAKELPARAM(rc.right / 2, rc.bottom / 2));
    // Back on the label, no key is swallowed: Tab moves on, and Escape closes the dialog.
    run.FocusItem(1022);
    ASSERT_TRUE(run.WaitFocus(mail));
    run.Key(VK_TAB);
    EXPECT_TRUE(wt::WaitUntil([&] { return run.Focus() != mail; })) << "Tab swallowed";
    run.Key(VK_ESCAPE);
    EXPECT_TRUE(run.WaitEnded());
    EXPECT_EQ(Opened(), "");
}

TEST_F(LinkLabel, LooksFollowFocusAndHover) {
    ASSERT_TRUE(run.Open("/c"));
    HWND url = run.Item(1021);
    const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0), orange = RGB(255, 128, 0);
    auto looks = [&](COLORREF colour) {
        return wt::WaitUntil([&] {
            int want = ct::CountColour(url, colour);
            int others = 0;
            for (COLORREF c : {blue, red, orange})
                if (c != colour)
                    others += ct::CountColour(url, c);
            return want > 20 && others == 0;
        });
    };
    EXPECT_TRUE(looks(blue));
    run.FocusItem(1021);
    ASSERT_TRUE(run.WaitFocus(url));
    EXPECT_TRUE(looks(red));

    // The real pointer onto the label: hover look, with the mouse captured.
    RECT rc;
    ::GetWindowRect(url, &rc);
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    EXPECT_TRUE(looks(orange));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(wt::WaitUntil([&] { return ::GetGUIThreadInfo(run.proc.Tid(), &info) && info.hwndCapture == url; }));
    // And off it again: back to the focused look, capture released.
    ::SetCursorPos(rc.left + 5, rc.bottom + 40);
    EXPECT_TRUE(looks(red));
    EXPECT_TRUE(
        wt::WaitUntil([&] { return ::GetGUIThreadInfo(run.proc.Tid(), &info) && info.hwndCapture == nullptr; }));

    run.FocusItem(1017);
    ASSERT_TRUE(run.WaitFocus(run.Item(1017)));
    EXPECT_TRUE(looks(blue));
    run.Key(VK_ESCAPE);
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(Opened(), "");
}
