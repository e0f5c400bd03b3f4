#pragma once
// The loading screen on the window surface: the built-in picture, "Now Loading..." and its letter-by-letter
// overdraw while the spiral frames are built.
#include <windows.h>

#include <optional>

#include "fw/Gdi.h"
#include "render/LoadingText.h"

// Owns the font selection on the window surface for the render thread's run (put back when it goes).
class CLoadingScreen {
public:
    // Selects the OEM fixed font into dc, centres the text in w x h, draws the built-in picture over the whole
    // client area and the whole text in backColor on a box of frontColor. Leaves the surface with background
    // backColor and text colour frontColor, the colours every spiral frame is presented in.
    void Show(HDC dc, int w, int h, COLORREF frontColor, COLORREF backColor);

    // The progress step of frame k: the first k letters again, in the surface's current (inverted) colours.
    void Progress(int k) const;

    // Selects the font that the surface had before Show back into it.
    void Restore();

    TextOrigin Origin() const { return m_origin; }

private:
    HDC m_hDC = nullptr;
    std::optional<CSelectGuard> m_font; // the OEM fixed font, selected while the screen is up
    TextOrigin m_origin;
};
