// The settings dialog where the ANSI code page is not the Japanese one: the English face.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ConfigDriver.h"

using ct::ConfigRun;
using ct::Face;

namespace {

std::string Ini(const std::string& body) {
    return "[" + ct::UserSection() + "]\r\n" + body;
}

// The English dialog's controls in template order, as read back with SpiralTime=5 stored.
// clang-format off
const char* const kTexts[] = {
    "Settings", "&Speed", "Fast", "Slider1", "Slow",
    "Duration", "Spi&ral", "5", "Spin1", "seconds",
    "&Pictures", "15", "Spin2", "seconds",
    "Colors", "&1", "", "&2", "",
    "Show pictures from this &file or folder", "", "...",
    "About", "Whorlix Screen Saver version 1.10", "Copyright (C) 2026 Whorlix Project",
    "Web:", "http://www.example.jp/whorlix/", "Email:", "support@example.jp",
    "OK", "Cancel"};
// clang-format on

// Every control's text in the order of the template, as the running dialog holds them; the icon (the one
// static with the icon style) has none.
std::vector<std::string> ControlTexts(HWND dlg) {
    std::vector<std::string> texts;
    for (HWND c = ::GetWindow(dlg, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        char cls[16] = {};
        ::GetClassNameA(c, cls, sizeof cls);
        if (_stricmp(cls, "Static") != 0 || (::GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            texts.push_back(ct::Text(c));
    }
    return texts;
}

} // namespace

TEST(SettingsDialogEnglish, ShowsEnglishTextsAndMessagesAndSavesAndCancelsAsTheJapaneseFaceDoes) {
    // The saver inherits this program's code page. CTest keeps the system's language Japanese (so the
    // system's own resource loaders would pick the Japanese texts); by hand it runs under any Western locale.
    ASSERT_NE(::GetACP(), 932u);

    const std::string ini = Ini("SpiralTime=5\r\n");
    {
        ConfigRun run(Face::English);
        ASSERT_TRUE(run.Open("/c", ini));
        EXPECT_EQ(ct::Text(run.dlg), "Whorlix Settings");
        EXPECT_EQ(ControlTexts(run.dlg), std::vector<std::string>(std::begin(kTexts), std::end(kTexts)));

        // The stored spiral time is out of range: OK refuses it with the English message.
        run.FocusItem(1001);
        ASSERT_TRUE(run.WaitFocus(run.Item(1001)));
        run.Key(VK_RETURN);
        HWND box = run.WaitMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ConfigRun::MessageText(box), "Enter a whole number between 10 and 100.");
        ASSERT_TRUE(ConfigRun::Dismiss(box));
        EXPECT_TRUE(run.WaitFocus(run.Item(1017)));
        EXPECT_EQ(run.Ini(), ini);

        // Corrected, Enter in the edit presses OK and the six keys are saved as always.
        ct::SetText(run.Item(1017), "45");
        run.Key(VK_RETURN);
        ASSERT_TRUE(run.WaitEnded());
        EXPECT_EQ(run.Ini(), Ini("SpiralTime=45\r\nSpeed=11\r\nPictureTime=15\r\nPictureFile=\r\nFrontColor=0\r\n"
                                 "BackColor=16777215\r\n"));
    }
    {
        // A settings file that cannot be written is reported in English too; Cancel then closes the dialog.
        ConfigRun run(Face::English);
        ASSERT_TRUE(run.Open("/c"));
        ASSERT_TRUE(::CreateDirectoryA(run.IniPath().c_str(), nullptr));
        run.Key(VK_RETURN);
        HWND box = run.WaitMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ConfigRun::MessageText(box), "The settings could not be saved to " + run.IniPath() + ".");
        ASSERT_TRUE(ConfigRun::Dismiss(box));
        ConfigRun::Click(run.Item(IDCANCEL));
        ASSERT_TRUE(run.WaitEnded());
        EXPECT_EQ(::GetFileAttributesA(run.IniPath().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    }
}
