#pragma once
// One text of a string-table block as resource compilers lay it out: sixteen UTF-16 strings in a row, each a
// 16-bit length followed by that many code units. Platform-free, so damaged blocks can be tried natively.
#include <cstddef>
#include <cstdint>
#include <string>

// Resource name of the block that holds string id (blocks are numbered from 1, sixteen ids each).
inline uint16_t StringBlockName(unsigned id) {
    return static_cast<uint16_t>(id / 16 + 1);
}

// The text of string id from a block of size bytes; false when the block ends before the text does.
bool StringFromBlock(const void* block, size_t size, unsigned id, std::u16string& text);
