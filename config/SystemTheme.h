#pragma once
// The system's theme as the link labels and the colour swatches draw with it.
#include <windows.h>

#include "config/ThemeColors.h"

// What the system reports now: high contrast on or off, and the dialog's face, text and hyperlink colours.
ThemeColors CurrentThemeColors();

// A one-pixel frame of color on rc, through dc.
void FrameInColor(HDC dc, const RECT& rc, COLORREF color);
