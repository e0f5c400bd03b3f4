#include "config/ColorSpeech.h"

#include <cstdio>

std::string ColorSpeech(const std::string& format, uint32_t color) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (format[i] == '%' && next >= '1' && next <= '3') {
            out += std::to_string((color >> (8 * (next - '1'))) & 0xFF);
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::string ColorHexText(uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(color & 0xFF),
                  static_cast<unsigned>((color >> 8) & 0xFF), static_cast<unsigned>((color >> 16) & 0xFF));
    return text;
}
