#include "render/LoadingScreen.h"

#include "render/picture/PictureSource.h"

void CLoadingScreen::Show(HDC dc, int w, int h, COLORREF frontColor, COLORREF backColor) {
    m_hDC = dc;
    m_font.emplace(dc, ::GetStockObject(OEM_FIXED_FONT));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, kLoadingText, kLoadingTextLength, &extent);
    m_origin = CenteredTextOrigin(w, h, extent.cx, extent.cy);

    const RECT client{0, 0, w, h};
    DrawPicture(dc, client, nullptr);
    // The text first shows inverted: BackColor letters on a FrontColor box (opaque background).
    ::SetBkColor(dc, frontColor);
    ::SetTextColor(dc, backColor);
    ::TextOutA(dc, m_origin.x, m_origin.y, kLoadingText, kLoadingTextLength);
    ::SetBkColor(dc, backColor);
    ::SetTextColor(dc, frontColor);
}

void CLoadingScreen::Progress(int k) const {
    if (m_hDC != nullptr)
        ::TextOutA(m_hDC, m_origin.x, m_origin.y, kLoadingText, LoadingLettersForFrame(k));
}

void CLoadingScreen::Restore() {
    m_font.reset();
    m_hDC = nullptr;
}
