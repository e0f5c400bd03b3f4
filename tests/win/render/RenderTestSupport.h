#pragma once
// Pixel access for the rendering tests: 32-bit DIB surfaces, window read-back, one-bit frame bits, fixtures.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace rt {

using CDibSurface = wt::CDibSurface;
using wt::Rgb;

// The client area of a window as pixels, copied from its device context.
std::vector<uint32_t> ReadWindowPixels(HWND hwnd, int w, int h);

// The bit values (0 or 1) of a one-bit bitmap, row by row from the top.
std::vector<uint8_t> BitmapBits(HBITMAP bitmap, int w, int h);

// A visible top-level pop-up of w x h at the screen's origin, owned by the calling thread.
class CTestWindow {
public:
    CTestWindow(int w, int h, DWORD style = WS_POPUP | WS_VISIBLE);
    ~CTestWindow();
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;
    HWND Handle() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};

// Windows path of a picture the build generated for these tests.
std::string FixturePath(const char* name);

} // namespace rt
