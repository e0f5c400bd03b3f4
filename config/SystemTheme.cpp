#include "config/SystemTheme.h"

ThemeColors CurrentThemeColors() {
    HIGHCONTRASTA highContrast{};
    highContrast.cbSize = sizeof highContrast;
    ThemeColors theme;
    theme.highContrast = ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
                         (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    theme.face = ::GetSysColor(COLOR_BTNFACE);
    theme.text = ::GetSysColor(COLOR_BTNTEXT);
    theme.hyperlink = ::GetSysColor(COLOR_HOTLIGHT);
    return theme;
}

void FrameInColor(HDC dc, const RECT& rc, COLORREF color) {
    ::SetDCBrushColor(dc, color);
    ::FrameRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}
