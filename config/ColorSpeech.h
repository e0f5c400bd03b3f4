#pragma once
// A colour as a screen reader says it. Platform-free.
#include <cstdint>
#include <string>

// format with %1, %2 and %3 replaced by the red, green and blue of a COLORREF, in decimal ("red %1, green %2,
// blue %3" gives "red 18, green 52, blue 86").
std::string ColorSpeech(const std::string& format, uint32_t color);

// "#RRGGBB", in capitals.
std::string ColorHexText(uint32_t color);
