// The colour swatches of the settings dialog with the system colour dialog, in the real whorlix.scr.
#include <gtest/gtest.h>

#include "ConfigDriver.h"

using ct::ConfigRun;

namespace {

// Control ids of the system colour dialog.
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708, kAddCustom = 712, kCustomColours = 721;

void SetRgb(HWND colourDlg, int r, int g, int b) {
    ct::SetText(::GetDlgItem(colourDlg, kRedEdit), std::to_string(r));
    ct::SetText(::GetDlgItem(colourDlg, kGreenEdit), std::to_string(g));
    ct::SetText(::GetDlgItem(colourDlg, kBlueEdit), std::to_string(b));
}

// The first of the sixteen custom colour cells of an open colour dialog, as drawn on the screen.
bool WaitFirstCustomColour(HWND colourDlg, COLORREF colour) {
    HWND cells = ::GetDlgItem(colourDlg, kCustomColours);
    RECT rc;
    ::GetClientRect(cells, &rc);
    int x = (rc.right / 8 - 4) / 2, y = (rc.bottom / 2 - 4) / 2;
    return wt::WaitUntil([&] { return ConfigRun::ScreenPixel(cells, x, y) == colour; });
}

} // namespace

TEST(ColorSwatch, ClickFocusesEnterOpensTheColourDialogAndTheConfirmedColourIsShownAndSaved) {
    ConfigRun run;
    ASSERT_TRUE(run.Open("/c"));
    HWND front = run.Item(1029);
    RECT rc;
    ::GetClientRect(front, &rc);
    const int area = rc.right * rc.bottom;
    // Black all over; with the focus, a dotted focus rectangle inside the border.
    EXPECT_TRUE(wt::WaitUntil([&] { return ct::CountColour(front, RGB(0, 0, 0)) == area; }));
    ConfigRun::Click(front);
    ASSERT_TRUE(run.WaitFocus(front));
    EXPECT_TRUE(wt::WaitUntil([&] {
        int black = ct::CountColour(front, RGB(0, 0, 0));
        return black < area && black > area / 2;
    }));

    run.Key(VK_RETURN);
    HWND colourDlg = run.WaitOwnedDialog();
    ASSERT_NE(colourDlg, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(run.dlg));
    EXPECT_EQ(ct::Text(::GetDlgItem(colourDlg, kRedEdit)), "0");
    // The custom colours start white.
    EXPECT_TRUE(WaitFirstCustomColour(colourDlg, RGB(255, 255, 255)));
    SetRgb(colourDlg, 18, 52, 86);
    ::PostMessageA(colourDlg, WM_COMMAND, MAKEWPARAM(kAddCustom, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFirstCustomColour(colourDlg, RGB(18, 52, 86)));
    ASSERT_TRUE(ConfigRun::Dismiss(colourDlg));

    // Enter was the swatch's: the settings dialog is still open, and shows the new colour at once.
    EXPECT_TRUE(run.IsOpen());
    EXPECT_TRUE(ConfigRun::WaitCentreColour(front, RGB(18, 52, 86)));

    // The focus rectangle goes with the focus.
    EXPECT_TRUE(wt::WaitUntil([&] { return ct::CountColour(front, RGB(18, 52, 86)) < area; }));
    run.Key(VK_TAB);
    ASSERT_TRUE(run.WaitFocus(run.Item(1030)));
    EXPECT_TRUE(wt::WaitUntil([&] { return ct::CountColour(front, RGB(18, 52, 86)) == area; }));

    // A double click on the other swatch: white is preselected, and the custom colour is offered again.
    HWND back = run.Item(1030);
    ::PostMessageA(back, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    colourDlg = run.WaitOwnedDialog();
    ASSERT_NE(colourDlg, nullptr);
    EXPECT_EQ(ct::Text(::GetDlgItem(colourDlg, kRedEdit)), "255");
    EXPECT_EQ(ct::Text(::GetDlgItem(colourDlg, kBlueEdit)), "255");
    EXPECT_TRUE(WaitFirstCustomColour(colourDlg, RGB(18, 52, 86)));
    // Cancelling keeps white.
    SetRgb(colourDlg, 1, 2, 3);
    ASSERT_TRUE(ConfigRun::Dismiss(colourDlg, IDCANCEL));
    EXPECT_TRUE(ConfigRun::WaitCentreColour(back, RGB(255, 255, 255)));

    ConfigRun::Click(run.Item(IDOK));
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(run.Ini(), ct::IniSection(11, 30, 15, "", RGB(18, 52, 86), 0xFFFFFF));

    // The custom colours lived only as long as that process.
    ConfigRun next;
    ASSERT_TRUE(next.Open("/c"));
    next.FocusItem(1030);
    ASSERT_TRUE(next.WaitFocus(next.Item(1030)));
    next.Key(VK_RETURN);
    colourDlg = next.WaitOwnedDialog();
    ASSERT_NE(colourDlg, nullptr);
    EXPECT_TRUE(WaitFirstCustomColour(colourDlg, RGB(255, 255, 255)));
    ASSERT_TRUE(ConfigRun::Dismiss(colourDlg, IDCANCEL));
    next.Key(VK_ESCAPE);
    ASSERT_TRUE(next.WaitEnded());
}

TEST(ColorSwatch, StoredColoursAreShownAndSurviveACancelledChoice) {
    ConfigRun run;
    const std::string ini = "[" + ct::UserSection() + "]\r\nFrontColor=255\r\nBackColor=65280\r\n";
    ASSERT_TRUE(run.Open("/c", ini));
    EXPECT_TRUE(ConfigRun::WaitCentreColour(run.Item(1029), RGB(255, 0, 0)));
    EXPECT_TRUE(ConfigRun::WaitCentreColour(run.Item(1030), RGB(0, 255, 0)));
    run.FocusItem(1029);
    ASSERT_TRUE(run.WaitFocus(run.Item(1029)));
    run.Key(VK_RETURN);
    HWND colourDlg = run.WaitOwnedDialog();
    ASSERT_NE(colourDlg, nullptr);
    EXPECT_EQ(ct::Text(::GetDlgItem(colourDlg, kRedEdit)), "255");
    EXPECT_EQ(ct::Text(::GetDlgItem(colourDlg, kGreenEdit)), "0");
    SetRgb(colourDlg, 9, 9, 9);
    ASSERT_TRUE(ConfigRun::Dismiss(colourDlg, IDCANCEL));
    EXPECT_TRUE(run.IsOpen());
    // The focus is back on the swatch, and Tab leaves it as in any dialog.
    ASSERT_TRUE(run.WaitFocus(run.Item(1029)));
    run.Key(VK_TAB);
    EXPECT_TRUE(run.WaitFocus(run.Item(1030)));
    ConfigRun::Click(run.Item(IDOK));
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(run.Ini(), "[" + ct::UserSection() +
                             "]\r\nFrontColor=255\r\nBackColor=65280\r\nSpeed=11\r\nSpiralTime=30\r\nPictureTime=15\r\n"
                             "PictureFile=\r\n");
}
