// The settings dialog in the real whorlix.scr: initial state, validation, saving and discarding, Browse.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "ConfigDriver.h"

using ct::ConfigRun;
using ct::Sjis;

namespace {

const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

std::string Ini(const std::string& body) {
    return "[" + ct::UserSection() + "]\r\n" + body;
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0, end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// Expects the validation message box with text, dismisses it, and expects the focus on the edit with its
// whole text selected.
void ExpectRefused(ConfigRun& run, const std::string& text, int editId) {
    HWND box = run.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ConfigRun::MessageText(box), text);
    LPCSTR icon = nullptr;
    EXPECT_TRUE(wt::WaitUntil([&] { return (icon = ct::MessageBoxIcon(box)) == IDI_EXCLAMATION; }, 10000))
        << "icon " << reinterpret_cast<INT_PTR>(icon);
    EXPECT_FALSE(::IsWindowEnabled(run.dlg)); // modal over the dialog
    ASSERT_TRUE(ConfigRun::Dismiss(box));
    HWND edit = run.Item(editId);
    EXPECT_TRUE(run.WaitFocus(edit));
    DWORD length = static_cast<DWORD>(ct::Text(edit).size());
    EXPECT_TRUE(wt::WaitUntil([&] { return Selection(edit) == std::make_pair(DWORD{0}, length); }))
        << Selection(edit).first << ".." << Selection(edit).second << " of " << length;
    EXPECT_TRUE(run.IsOpen());
}

} // namespace

TEST(SettingsDialog, OpensForEveryConfigureArgumentWithDefaultsWhenThereIsNoFile) {
    for (const char* args : {"", "/c", "-C", "/config"}) {
        SCOPED_TRACE(args);
        ConfigRun run;
        ASSERT_TRUE(run.Open(args));
        EXPECT_EQ(::SendMessageA(run.Item(1001), TBM_GETPOS, 0, 0), 11);
        EXPECT_EQ(::SendMessageA(run.Item(1001), TBM_GETRANGEMIN, 0, 0), 0);
        EXPECT_EQ(::SendMessageA(run.Item(1001), TBM_GETRANGEMAX, 0, 0), 40);
        EXPECT_EQ(run.ItemText(1017), "30");
        EXPECT_EQ(run.ItemText(1018), "15");
        EXPECT_EQ(run.ItemText(1015), "");
        // Up-down ranges: upper bound in the low word.
        EXPECT_EQ(::SendMessageA(run.Item(1019), UDM_GETRANGE, 0, 0), MAKELONG(100, 10));
        EXPECT_EQ(::SendMessageA(run.Item(1020), UDM_GETRANGE, 0, 0), MAKELONG(100, 0));
        EXPECT_EQ(::SendMessageA(run.Item(1015), EM_GETLIMITTEXT, 0, 0), 256);
        EXPECT_TRUE(ConfigRun::WaitCentreColour(run.Item(1029), kBlack));
        EXPECT_TRUE(ConfigRun::WaitCentreColour(run.Item(1030), kWhite));
        EXPECT_EQ(run.ItemText(1009), Sjis("スクリーンセーバー【Whorlix】 version 1.10"));
        EXPECT_EQ(run.ItemText(1010), "Copyright (C) 2026 Whorlix Project");
        EXPECT_TRUE(run.WaitFocus(run.Item(1001)));
        run.Key(VK_ESCAPE);
        EXPECT_TRUE(run.WaitEnded());
        EXPECT_FALSE(run.IniExists());
    }
}

TEST(SettingsDialog, StoredSpeedOutsideTheSliderIsShownAtTheEndAndSavedPinned) {
    ConfigRun run;
    ASSERT_TRUE(run.Open("/c", Ini("Speed=100\r\n")));
    EXPECT_EQ(::SendMessageA(run.Item(1001), TBM_GETPOS, 0, 0), 40);
    EXPECT_TRUE(run.WaitFocus(run.Item(1001)));
    run.Key(VK_RETURN); // Enter on the slider presses OK
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(run.Ini(), ct::IniSection(40, 30, 15, "", 0, 0xFFFFFF));
}

TEST(SettingsDialog, StoredSpiralTimeBelowRangeIsShownRefusedAndReplacedOnLeavingTheEdit) {
    const std::string ini = Ini("SpiralTime=5\r\n");
    // Enter on the slider, and Enter in the edit itself, report the same message.
    for (int focus : {1001, 1017}) {
        SCOPED_TRACE(testing::Message() << "Enter in control " << focus);
        ConfigRun run;
        ASSERT_TRUE(run.Open("/c", ini));
        EXPECT_EQ(run.ItemText(1017), "5");
        run.FocusItem(focus);
        ASSERT_TRUE(run.WaitFocus(run.Item(focus)));
        run.Key(VK_RETURN);
        ExpectRefused(run, Sjis("10 から 100 までの整数を入力してください。"), 1017);
        EXPECT_EQ(run.Ini(), ini);
        run.Key(VK_ESCAPE);
        ASSERT_TRUE(run.WaitEnded());
        EXPECT_EQ(run.Ini(), ini);
    }
    {
        // A click on the dialog's surface moves the focus to OK; the edit leaves 5 for the pinned 10.
        ConfigRun run;
        ASSERT_TRUE(run.Open("/c", ini));
        run.FocusItem(1017);
        ASSERT_TRUE(run.WaitFocus(run.Item(1017)));
        ConfigRun::Click(run.dlg, 3, 3);
        EXPECT_TRUE(run.WaitFocus(run.Item(IDOK)));
        EXPECT_TRUE(wt::WaitUntil([&] { return run.ItemText(1017) == "10"; })) << run.ItemText(1017);
        run.Key(VK_ESCAPE);
        ASSERT_TRUE(run.WaitEnded());
    }
    {
        // Clicking OK with the mouse while the edit has the focus: the edit is normalised first, 10 is saved.
        ConfigRun run;
        ASSERT_TRUE(run.Open("/c", ini));
        run.FocusItem(1017);
        ASSERT_TRUE(run.WaitFocus(run.Item(1017)));
        ConfigRun::Click(run.Item(IDOK));
        ASSERT_TRUE(run.WaitEnded());
        // The key that existed is replaced where it stands; the others follow in order.
        EXPECT_EQ(run.Ini(), Ini("SpiralTime=10\r\nSpeed=11\r\nPictureTime=15\r\nPictureFile=\r\nFrontColor=0\r\n"
                                 "BackColor=16777215\r\n"));
    }
}

TEST(SettingsDialog, PictureTimeIsValidatedFirstAndAnEmptyEditIsNotAnInteger) {
    const std::string ini = Ini("SpiralTime=5\r\nPictureTime=101\r\n");
    ConfigRun run;
    ASSERT_TRUE(run.Open("/c", ini));
    run.FocusItem(1015);
    ASSERT_TRUE(run.WaitFocus(run.Item(1015)));
    run.Key(VK_RETURN);
    ExpectRefused(run, Sjis("0 から 100 までの整数を入力してください。"), 1018);

    // The focus is now in the picture-time edit: empty it and press Enter there.
    ct::SetText(run.Item(1018), "");
    run.Key(VK_RETURN);
    ExpectRefused(run, Sjis("整数を入力してください。"), 1018);

    // A valid picture time lets the spiral time be reported next.
    ct::SetText(run.Item(1018), "7");
    run.Key(VK_RETURN);
    ExpectRefused(run, Sjis("10 から 100 までの整数を入力してください。"), 1017);
    run.Key(VK_ESCAPE);
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(run.Ini(), ini);
}

TEST(SettingsDialog, TimeBoundsAreInclusive) {
    struct Case {
        const char* picture;
        const char* spiral;
        const char* refusal; // null: accepted
        int refusedEdit;
    };
    const Case cases[] = {
        {"0", "10", nullptr, 0},
        {"100", "100", nullptr, 0},
        {"101", "50", "0 から 100 までの整数を入力してください。", 1018},
        {"-1", "50", "0 から 100 までの整数を入力してください。", 1018},
        {"50", "9", "10 から 100 までの整数を入力してください。", 1017},
        {"50", "101", "10 から 100 までの整数を入力してください。", 1017},
        {" 12 ", "x", "整数を入力してください。", 1017},
        // Past the 32-bit range: refused, never wrapped into range (4294967306 would read as 10).
        {"4294967306", "50", "整数を入力してください。", 1018},
        {"50", "4294967306", "整数を入力してください。", 1017},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.picture) + " / " + c.spiral);
        ConfigRun run;
        ASSERT_TRUE(run.Open("/c"));
        ct::SetText(run.Item(1018), c.picture);
        ct::SetText(run.Item(1017), c.spiral);
        run.FocusItem(1015);
        ASSERT_TRUE(run.WaitFocus(run.Item(1015)));
        run.Key(VK_RETURN);
        if (c.refusal == nullptr) {
            ASSERT_TRUE(run.WaitEnded());
            EXPECT_EQ(run.Ini(), ct::IniSection(11, std::atoi(c.spiral), std::atoi(c.picture), "", 0, 0xFFFFFF));
            continue;
        }
        ExpectRefused(run, Sjis(c.refusal), c.refusedEdit);
        run.Key(VK_ESCAPE);
        ASSERT_TRUE(run.WaitEnded());
        EXPECT_FALSE(run.IniExists());
    }
}

TEST(SettingsDialog, PathLongerThan256CharactersIsRefused) {
    ConfigRun run;
    ASSERT_TRUE(run.Open("/c"));
    const std::string longPath = "C:\\" + std::string(254, 'a');
    ct::SetText(run.Item(1015), longPath);
    EXPECT_EQ(run.ItemText(1015).size(), 257u);
    run.FocusItem(1015);
    ASSERT_TRUE(run.WaitFocus(run.Item(1015)));
    run.Key(VK_RETURN);
    ExpectRefused(run, Sjis("256 文字以内で入力してください。"), 1015);
    EXPECT_FALSE(run.IniExists());

    const std::string fits = longPath.substr(0, 256);
    ct::SetText(run.Item(1015), fits);
    run.Key(VK_RETURN);
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(run.Ini(), ct::IniSection(11, 30, 15, fits, 0, 0xFFFFFF));
}

TEST(SettingsDialog, OkWritesTheSixKeysInOrderAndLeavesOtherUsersAlone) {
    const std::string other = "[someone_else]\r\nSpeed=3\r\nPictureFile=D:\\x\r\n";
    ConfigRun run;
    ASSERT_TRUE(run.Open("/c", other));
    ::SendMessageA(run.Item(1001), TBM_SETPOS, TRUE, 0); // the fast end
    ct::SetText(run.Item(1017), "45");
    ct::SetText(run.Item(1018), "0");
    const std::string path = Sjis("C:\\画像\\表.jpg");
    ct::SetText(run.Item(1015), path);
    run.FocusItem(IDOK);
    ASSERT_TRUE(run.WaitFocus(run.Item(IDOK)));
    run.Key(VK_RETURN);
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(run.Ini(), other + ct::IniSection(0, 45, 0, path, 0, 0xFFFFFF));
}

TEST(SettingsDialog, ASettingsFileThatCannotBeWrittenIsReportedAndTheDialogStaysOpen) {
    ConfigRun run;
    ASSERT_TRUE(run.Open("/c"));
    // A folder standing where the file is to be written makes every write fail.
    ASSERT_TRUE(::CreateDirectoryA(run.IniPath().c_str(), nullptr));
    ::SendMessageA(run.Item(1001), TBM_SETPOS, TRUE, 33);
    ct::SetText(run.Item(1017), "45");
    run.FocusItem(IDOK);
    ASSERT_TRUE(run.WaitFocus(run.Item(IDOK)));
    run.Key(VK_RETURN);
    HWND box = run.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ConfigRun::MessageText(box), Sjis("設定を ") + run.IniPath() + Sjis(" に書き込めませんでした。"));
    EXPECT_TRUE(wt::WaitUntil([&] { return ct::MessageBoxIcon(box) == IDI_EXCLAMATION; }, 10000));
    ASSERT_TRUE(ConfigRun::Dismiss(box));
    // The user's values are still there, for another try or Cancel.
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(::SendMessageA(run.Item(1001), TBM_GETPOS, 0, 0), 33);
    EXPECT_EQ(run.ItemText(1017), "45");
    run.Key(VK_ESCAPE);
    ASSERT_TRUE(run.WaitEnded());
    DWORD code = 0xDEAD;
    EXPECT_TRUE(run.proc.WaitExit(0, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(::GetFileAttributesA(run.IniPath().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST(SettingsDialog, CancelEscapeAndCloseWriteNothing) {
    const std::string ini = Ini("Speed=7\r\nSpiralTime=20\r\nPictureTime=0\r\nPictureFile=\r\nFrontColor=255\r\n");
    for (int way = 0; way < 3; ++way) {
        for (bool withFile : {false, true}) {
            SCOPED_TRACE(way * 2 + withFile);
            ConfigRun run;
            ASSERT_TRUE(run.Open("/c", withFile ? ini : ""));
            ::SendMessageA(run.Item(1001), TBM_SETPOS, TRUE, 33);
            ct::SetText(run.Item(1017), "99");
            ct::SetText(run.Item(1018), "98");
            ct::SetText(run.Item(1015), "C:\\elsewhere");
            if (way == 0)
                ConfigRun::Click(run.Item(IDCANCEL));
            else if (way == 1)
                run.Key(VK_ESCAPE);
            else
                ::PostMessageA(run.dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
            ASSERT_TRUE(run.WaitEnded());
            if (withFile)
                EXPECT_EQ(run.Ini(), ini);
            else
                EXPECT_FALSE(run.IniExists());
        }
    }
}

namespace {
// The open-file dialog's name box (a combo box with an edit in the explorer style).
HWND FileNameBox(HWND fileDlg) {
    HWND combo = ::GetDlgItem(fileDlg, 0x47C);                      // cmb13
    return combo != nullptr ? combo : ::GetDlgItem(fileDlg, 0x480); // edt1
}
} // namespace

TEST(SettingsDialog, BrowseStartsInThePathsFolderAndCancelKeepsTheText) {
    ConfigRun run;
    const std::string pics = run.dir.File("pics");
    const std::string work = run.dir.File("work");
    ASSERT_TRUE(::CreateDirectoryA(pics.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(work.c_str(), nullptr));
    wt::WriteFileBytes(pics + "\\a.jpg", "x");
    ASSERT_TRUE(run.Open("/c", "", work));

    // A text without a backslash: the dialog's own default folder, here the current folder.
    ct::SetText(run.Item(1015), "nothing");
    ConfigRun::Click(run.Item(1016));
    HWND fileDlg = run.WaitOwnedDialog();
    ASSERT_NE(fileDlg, nullptr);
    EXPECT_EQ(ct::Text(::GetDlgItem(fileDlg, 0x470)), "JPEG Files (*.jpg;*.jpeg)"); // cmb1, file types
    HWND readOnly = ::GetDlgItem(fileDlg, 0x410);                                   // chx1
    EXPECT_TRUE(readOnly == nullptr || !::IsWindowVisible(readOnly));
    ct::SetText(FileNameBox(fileDlg), "chosen.jpg");
    ASSERT_TRUE(ConfigRun::Dismiss(fileDlg));
    EXPECT_TRUE(wt::WaitUntil([&] { return run.ItemText(1015) == work + "\\chosen.jpg"; })) << run.ItemText(1015);

    // With a file's path: the dialog opens in its folder, so a bare name typed there lands in that folder.
    ct::SetText(run.Item(1015), pics + "\\a.jpg");
    ConfigRun::Click(run.Item(1016));
    fileDlg = run.WaitOwnedDialog();
    ASSERT_NE(fileDlg, nullptr);
    ct::SetText(FileNameBox(fileDlg), "chosen.jpg");
    ASSERT_TRUE(ConfigRun::Dismiss(fileDlg));
    EXPECT_TRUE(wt::WaitUntil([&] { return run.ItemText(1015) == pics + "\\chosen.jpg"; })) << run.ItemText(1015);

    // Cancelling keeps the text.
    ConfigRun::Click(run.Item(1016));
    fileDlg = run.WaitOwnedDialog();
    ASSERT_NE(fileDlg, nullptr);
    ASSERT_TRUE(ConfigRun::Dismiss(fileDlg, IDCANCEL));
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(run.ItemText(1015), pics + "\\chosen.jpg");
    run.Key(VK_ESCAPE);
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_FALSE(run.IniExists());
}
