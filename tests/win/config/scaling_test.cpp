// The settings dialog at the display scalings people use, in the face this program's code page gives: every
// text whole inside its control and the dialog, the link labels sized in pixels, and the icon drawn for the size.
#include <gtest/gtest.h>

#include <utility>

#include "ConfigDriver.h"

using ct::Face;

namespace {

// win.config runs the Japanese rows; win.config_english, under a Western code page, the English ones.
const std::pair<Face, int> kScalings[] = {{Face::Japanese, 96},  {Face::Japanese, 120}, {Face::Japanese, 144},
                                          {Face::Japanese, 192}, {Face::English, 96},   {Face::English, 120},
                                          {Face::English, 144},  {Face::English, 192}};
// Its value "LogPixels" is the DPI Wine gives the programs it starts; the test prefix has none of its own.
const char kDesktopKey[] = "Control Panel\\Desktop";

// The image the icon has of exactly size x size pixels, or null: never another size stretched to it.
HICON IconImageOfSize(HMODULE module, int size) {
    HRSRC group = ::FindResourceA(module, MAKEINTRESOURCEA(128), RT_GROUP_ICON);
    auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(module, group)));
    const int id = ::LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_ICON);
    auto* bits = static_cast<BYTE*>(::LockResource(::LoadResource(module, image)));
    if (bits == nullptr || reinterpret_cast<const BITMAPINFOHEADER*>(bits)->biWidth != size)
        return nullptr;
    return ::CreateIconFromResourceEx(bits, ::SizeofResource(module, image), TRUE, 0x30000, size, size, 0);
}

} // namespace

TEST(SettingsDialogScaling, EveryTextShowsWholeAndTheIconIsDrawnForTheDialogsDpi) {
    const Face face = ::GetACP() == 932 ? Face::Japanese : Face::English;
    int rows = 0;
    for (auto [rowFace, dpi] : kScalings) {
        if (rowFace != face)
            continue;
        ++rows;
        SCOPED_TRACE(testing::Message() << "DPI " << dpi);
        ct::ConfigRun run(face);
        ::RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
        const bool opened = run.Open("/c");
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels");
        ASSERT_TRUE(opened);
        // The template's font as the dialog manager makes it at this DPI: every control's font.
        CFont font;
        font.Attach(::CreateFontW(-::MulDiv(face == Face::Japanese ? 9 : 8, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                  DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, 0,
                                  face == Face::Japanese ? L"ＭＳ Ｐゴシック" : L"Tahoma"));
        wt::CDibSurface surface(1, 1);
        CSelectGuard select(surface.DC(), font);
        RECT dialog, rc, client;
        ::GetClientRect(run.dlg, &dialog);
        for (HWND c = ::GetWindow(run.dlg, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
            const std::string text = ct::Text(c);
            SCOPED_TRACE(text);
            ::GetWindowRect(c, &rc);
            ::MapWindowPoints(nullptr, run.dlg, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= dialog.right && rc.bottom <= dialog.bottom);
            char cls[16] = {};
            ::GetClassNameA(c, cls, sizeof cls);
            if ((_stricmp(cls, "Static") != 0 && _stricmp(cls, "Button") != 0) || c == ct::IconControl(run.dlg))
                continue;
            // Whole on the lines it wraps to at the control's width; a link label is its caption plus a pixel around.
            ::GetClientRect(c, &client);
            RECT need{0, 0, client.right, 0};
            ::DrawTextA(surface.DC(), text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            EXPECT_TRUE(need.right <= client.right && need.bottom <= client.bottom) << need.right << "x" << need.bottom;
            if (::GetDlgCtrlID(c) == 1021 || ::GetDlgCtrlID(c) == 1022) {
                EXPECT_TRUE(need.right + 2 == client.right && need.bottom + 2 == client.bottom);
            }
        }
        const int size = ::MulDiv(32, dpi, 96);
        HMODULE scr = ::LoadLibraryExA(run.scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HICON icon = IconImageOfSize(scr, size);
        EXPECT_NE(icon, nullptr) << size;
        EXPECT_TRUE(wt::WaitUntil([&] { return ct::ShowsIcon(ct::IconControl(run.dlg), icon, size); }, 10000));
        ::DestroyIcon(icon);
        ::FreeLibrary(scr);
        run.Key(VK_ESCAPE);
        ASSERT_TRUE(run.WaitEnded());
    }
    EXPECT_EQ(rows, 4);
}
