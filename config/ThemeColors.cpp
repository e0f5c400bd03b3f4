#include "config/ThemeColors.h"

namespace {
// COLORREF values: red in the low byte.
constexpr uint32_t kBlue = 0xFF0000, kRed = 0x0000FF, kOrange = 0x0080FF;
} // namespace

uint32_t LinkTextColor(LinkLook look, const ThemeColors& theme) {
    if (theme.highContrast)
        return theme.hyperlink;
    switch (look) {
    case LinkLook::Focused:
        return kRed;
    case LinkLook::Hover:
        return kOrange;
    default:
        return kBlue;
    }
}

bool OutlineColor(const ThemeColors& theme, uint32_t& color) {
    if (!theme.highContrast)
        return false;
    color = theme.text;
    return true;
}
