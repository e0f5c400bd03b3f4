#include "RenderTestSupport.h"

#include "TestSupport.h"

namespace rt {

std::vector<uint32_t> ReadWindowPixels(HWND hwnd, int w, int h) {
    CDibSurface copy(w, h);
    HDC dc = ::GetDC(hwnd);
    ::BitBlt(copy.DC(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, dc);
    return copy.Pixels();
}

std::vector<uint8_t> BitmapBits(HBITMAP bitmap, int w, int h) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } bi{TopDownDibHeader(w, h, 1), {}};
    const int stride = ((w + 31) / 32) * 4;
    std::vector<uint8_t> raw(static_cast<size_t>(stride) * h);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, h, raw.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    std::vector<uint8_t> out(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out[static_cast<size_t>(y) * w + x] = (raw[static_cast<size_t>(y) * stride + x / 8] >> (7 - x % 8)) & 1;
    return out;
}

CTestWindow::CTestWindow(int w, int h, DWORD style) {
    static const char* cls = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "WhorlixRenderTestWindow";
        ::RegisterClassA(&wc);
        return "WhorlixRenderTestWindow";
    }();
    // Never activated and a tool window: Wine then does not treat it as managed by an X window manager and
    // destroys it without waiting for one (about 2 s each time otherwise).
    m_hWnd = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls, "", style & ~WS_VISIBLE, 0, 0,
                               w, h, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (style & WS_VISIBLE)
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    wt::WaitUntil([this] { return ::IsWindowVisible(m_hWnd) != FALSE; }, 10000);
    wt::PumpMessages();
}

CTestWindow::~CTestWindow() {
    if (::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

std::string FixturePath(const char* name) {
    return wt::FromUnixPath((std::string(RENDER_FIXTURES_UNIX) + "/" + name).c_str());
}

} // namespace rt
