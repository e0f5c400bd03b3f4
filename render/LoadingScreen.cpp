#include "render/LoadingScreen.h"

#include "render/picture/PictureSource.h"
#include "render/spiral/SpiralGeometry.h"

void CLoadingScreen::Show(HDC dc, const MonitorLayout& layout, const PictureScreens& screens, COLORREF frontColor,
                          COLORREF backColor, PictureWorkspace* work) {
    m_hDC = dc;
    m_font.emplace(dc, ::GetStockObject(OEM_FIXED_FONT));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, kLoadingText, kLoadingTextLength, &extent);
    m_origins.clear();
    for (const MonitorRect& m : layout.Monitors()) {
        const TextOrigin centred = CenteredTextOrigin(m.w, m.h, extent.cx, extent.cy);
        m_origins.push_back(TextOrigin{m.x + centred.x, m.y + centred.y});
    }

    DrawPicture(dc, screens, nullptr, nullptr, work);
    // The text first shows inverted: BackColor letters on a FrontColor box (opaque background).
    ::SetBkColor(dc, frontColor);
    ::SetTextColor(dc, backColor);
    for (const TextOrigin& o : m_origins)
        ::TextOutA(dc, o.x, o.y, kLoadingText, kLoadingTextLength);
    ::SetBkColor(dc, backColor);
    ::SetTextColor(dc, frontColor);
}

void CLoadingScreen::Progress(int step, int steps) const {
    if (m_hDC == nullptr || steps <= 0)
        return;
    // With several monitor sizes the frames of every size are built in turn; the text fills in once over all.
    const int letters = LoadingLettersForFrame(step * kSpiralFrameCount / steps);
    for (const TextOrigin& o : m_origins)
        ::TextOutA(m_hDC, o.x, o.y, kLoadingText, letters);
}

void CLoadingScreen::Restore() {
    m_font.reset();
    m_hDC = nullptr;
}
