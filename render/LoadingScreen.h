#pragma once
// The loading screen on every monitor of the window surface: the built-in picture, "Now Loading..." and its
// letter-by-letter overdraw while the spiral frames are built.
#include <windows.h>

#include <optional>
#include <vector>

#include "fw/Gdi.h"
#include "render/LoadingText.h"
#include "render/MonitorLayout.h"
#include "render/picture/PictureScaler.h"
#include "render/picture/PictureSource.h"

// Owns the font selection on the window surface for the render thread's run (put back when it goes).
class CLoadingScreen {
public:
    // Selects the OEM fixed font into dc, draws the built-in picture over every monitor of layout (as screens, its
    // picture screens, say) and the whole text, centred on each monitor, in backColor on a box of frontColor. Leaves
    // the surface with background backColor and text colour frontColor, the colours every spiral frame is presented in.
    // work, when given, is the working memory the picture is decoded and fitted in.
    void Show(HDC dc, const MonitorLayout& layout, const PictureScreens& screens, COLORREF frontColor,
              COLORREF backColor, PictureWorkspace* work = nullptr);

    // The progress step of the frame building, step 0 to steps - 1: the text's first letters again, in the
    // surface's current (inverted) colours, as many as frame step * 15 / steps of one frame set has.
    void Progress(int step, int steps) const;

    // Selects the font that the surface had before Show back into it.
    void Restore();

    TextOrigin Origin(size_t monitor = 0) const { return m_origins[monitor]; }

private:
    HDC m_hDC = nullptr;
    std::optional<CSelectGuard> m_font; // the OEM fixed font, selected while the screen is up
    std::vector<TextOrigin> m_origins;  // one per monitor
};
