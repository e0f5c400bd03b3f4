#pragma once
// Pixel access for the rendering tests: 32-bit DIB surfaces, window read-back, one-bit frame bits, fixtures.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace rt {

// A memory device context with a 32-bit top-down DIB section selected: pixels as 0x00RRGGBB.
class CDibSurface {
public:
    CDibSurface(int w, int h);
    ~CDibSurface();
    CDibSurface(const CDibSurface&) = delete;
    CDibSurface& operator=(const CDibSurface&) = delete;
    HDC DC() const { return m_hDC; }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    uint32_t Pixel(int x, int y) const { return m_bits[static_cast<size_t>(y) * m_w + x] & 0xFFFFFF; }
    std::vector<uint32_t> Pixels() const;
    void Fill(uint32_t rgb);

private:
    int m_w, m_h;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    uint32_t* m_bits = nullptr;
};

// COLORREF (red in the low byte) as the 0x00RRGGBB of a DIB pixel.
inline uint32_t Rgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

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
