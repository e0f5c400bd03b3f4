#include "fw/StringBlock.h"

#include <cstring>

namespace {
// Resource data is not always aligned for 16-bit reads.
uint16_t ReadUnit(const unsigned char* p) {
    uint16_t unit;
    std::memcpy(&unit, p, sizeof unit);
    return unit;
}
} // namespace

bool StringFromBlock(const void* block, size_t size, unsigned id, std::u16string& text) {
    text.clear();
    if (block == nullptr)
        return false;
    const auto* bytes = static_cast<const unsigned char*>(block);
    const size_t units = size / 2;
    size_t at = 0; // in 16-bit units
    for (unsigned index = 0;; ++index) {
        if (at >= units)
            return false;
        const size_t length = ReadUnit(bytes + at * 2);
        ++at;
        if (length > units - at)
            return false;
        if (index == id % 16) {
            text.resize(length);
            for (size_t i = 0; i < length; ++i)
                text[i] = static_cast<char16_t>(ReadUnit(bytes + (at + i) * 2));
            return true;
        }
        at += length;
    }
}
