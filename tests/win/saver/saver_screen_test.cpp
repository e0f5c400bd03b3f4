// What the real whorlix.scr shows on the screen in run mode, read back from the screen: the built-in
// picture of a picture phase (compared with the same JPEG decoded here), and the turning spiral in the
// configured colours.
#include <gtest/gtest.h>

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"

namespace {

// The saver's built-in picture, decoded and drawn here the same way, at w x h.
std::vector<uint32_t> RenderBuiltinPicture(const std::string& scr, int w, int h) {
    std::vector<uint32_t> pixels;
    HMODULE module = ::LoadLibraryExA(scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC res = module ? ::FindResourceA(module, MAKEINTRESOURCEA(IDR_BUILTIN_PICTURE), "JPEG") : nullptr;
    if (res == nullptr)
        return pixels;
    DWORD size = ::SizeofResource(module, res);
    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, size);
    std::memcpy(block, ::LockResource(::LoadResource(module, res)), size);
    IStream* stream = nullptr;
    IPicture* picture = nullptr;
    ::CreateStreamOnHGlobal(block, FALSE, &stream);
    if (SUCCEEDED(::OleLoadPicture(stream, size, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)))) {
        OLE_XSIZE_HIMETRIC pw = 0;
        OLE_YSIZE_HIMETRIC ph = 0;
        picture->get_Width(&pw);
        picture->get_Height(&ph);
        wt::CDibSurface drawn(w, h);
        picture->Render(drawn.DC(), 0, 0, w, h, 0, ph - 1, pw, -ph, nullptr);
        pixels = drawn.Pixels();
        picture->Release();
    }
    stream->Release();
    ::GlobalFree(block);
    ::FreeLibrary(module);
    return pixels;
}

int ChannelDistance(uint32_t a, uint32_t b) {
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8)
        d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return d;
}

class SaverScreen : public ::testing::Test {
protected:
    void SetUp() override {
        m_scr = wt::CopyScrInto(m_dir);
        m_w = ::GetSystemMetrics(SM_CXSCREEN);
        m_h = ::GetSystemMetrics(SM_CYSCREEN);
    }
    void Store(const SaverSettings& s) { SaveSettings(s, m_dir.File("whorlix.ini").c_str()); }
    void StartAndWaitVisible() {
        ASSERT_TRUE(m_process.Start("\"" + m_scr + "\" /s"));
        ASSERT_TRUE(wt::WaitUntil([&] { return wt::FindProcessWindow(m_process.Pid()) != nullptr; }));
    }
    void TearDown() override {
        // End it the way a user does.
        ::PostMessageA(wt::FindProcessWindow(m_process.Pid()), WM_KEYDOWN, 'A', 1);
        DWORD code = 0xDEAD;
        EXPECT_TRUE(m_process.WaitExit(30000, &code));
        EXPECT_EQ(code, 0u);
    }
    wt::TempDir m_dir;
    std::string m_scr;
    wt::Process m_process;
    int m_w = 0, m_h = 0;
};

} // namespace

TEST_F(SaverScreen, PicturePhaseShowsTheBuiltInPictureFittedToTheScreen) {
    SaverSettings s;
    s.SpiralTime = 0; // a picture phase starts at the first frame and lasts 100 s
    s.PictureTime = 100;
    Store(s);
    std::vector<uint32_t> expected = RenderBuiltinPicture(m_scr, m_w, m_h);
    ASSERT_EQ(expected.size(), static_cast<size_t>(m_w) * m_h);
    StartAndWaitVisible();
    // 640 x 480 fits 1024 x 768 (the test screen) exactly: the decoded picture covers the screen.
    size_t differing = 0;
    bool same = wt::WaitUntil([&] {
        std::vector<uint32_t> screen = wt::ReadScreenPixels(0, 0, m_w, m_h);
        differing = 0;
        for (size_t i = 0; i < screen.size(); ++i)
            differing += ChannelDistance(screen[i], expected[i]) > 24;
        return differing < screen.size() / 1000;
    });
    EXPECT_TRUE(same) << differing << " pixels differ";
}

TEST_F(SaverScreen, SpiralTurnsInTheConfiguredColours) {
    SaverSettings s;
    s.FrontColor = RGB(255, 0, 0);
    s.BackColor = RGB(0, 0, 255);
    s.PictureTime = 0;
    Store(s);
    StartAndWaitVisible();
    std::vector<uint32_t> first;
    bool twoColours = wt::WaitUntil([&] {
        first = wt::ReadScreenPixels(0, 0, m_w, m_h);
        size_t red = 0, blue = 0;
        for (uint32_t px : first) {
            red += px == 0xFF0000;
            blue += px == 0x0000FF;
        }
        // Arms in the back colour, gaps and outlines in the front colour, nothing else.
        return red + blue == first.size() && red > first.size() / 3 && blue > first.size() / 3;
    });
    ASSERT_TRUE(twoColours);
    // It turns: a later screen differs from the first.
    EXPECT_TRUE(wt::WaitUntil([&] { return wt::ReadScreenPixels(0, 0, m_w, m_h) != first; }));
}
