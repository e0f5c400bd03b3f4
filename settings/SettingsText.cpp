#include "settings/SettingsText.h"

#include <cstring>

#include "settings/SaverSettings.h"

namespace {

// The value of a digit in bases up to 36, or 36 for a byte that is no digit at all.
uint32_t DigitValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 36;
}

} // namespace

int32_t ProfileIntFromText(const char* text, int32_t fallback) {
    if (text[0] == '\0')
        return fallback;
    // Bytes as unsigned: a byte of a double-byte character is never taken for white space.
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != '\0' && *p <= ' ')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    uint32_t base = 10;
    // Only lower-case prefixes count, and a prefix with no digit after it reads as 0 all the same.
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'o' || p[1] == 'b')) {
        base = p[1] == 'x' ? 16 : p[1] == 'o' ? 8 : 2;
        p += 2;
    }
    uint32_t total = 0;
    for (uint32_t digit = DigitValue(*p); digit < base; digit = DigitValue(*++p))
        total = total * base + digit;
    return static_cast<int32_t>(negative ? 0u - total : total);
}

std::string SectionFromUserName(const char* name, size_t capacity, bool read) {
    const char* end = read ? static_cast<const char*>(std::memchr(name, '\0', capacity)) : nullptr;
    if (end == nullptr || end == name || std::strpbrk(name, "\r\n") != nullptr)
        return kFallbackSection;
    return std::string(name, end);
}
