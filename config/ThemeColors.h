#pragma once
// The colours the link labels and the colour swatches draw with, chosen for the system's theme. Platform-free, so
// the choice for a high-contrast theme can be checked anywhere (the test platform never reports one).
#include <cstdint>

// What the system reports: whether a high-contrast theme is on, and its face, text and hyperlink colours.
struct ThemeColors {
    bool highContrast = false;
    uint32_t face = 0;
    uint32_t text = 0;
    uint32_t hyperlink = 0;
};

enum class LinkLook { Normal, Focused, Hover };

// A link label's text colour in a look: the label's own blue, red and orange, or in high contrast the theme's
// hyperlink colour in every look (focus then shows by the focus frame, hover by the underline alone).
uint32_t LinkTextColor(LinkLook look, const ThemeColors& theme);

// The colour of the focus frame of both controls and of a swatch's border, where the theme asks for one: true and
// the theme's text colour in high contrast. Otherwise false: the system's border and dotted focus rectangle stay.
bool OutlineColor(const ThemeColors& theme, uint32_t& color);
