#pragma once
// Text in the system's ANSI code page, which may be double-byte: a lead byte and the byte after it form one
// character, and that second byte may be any value, a backslash or a dot included. So such text is walked by
// whole characters, never byte by byte. Platform-free.
#include <cstddef>
#include <string>

// Tells whether a byte opens a two-byte character in the text's code page; null stands for a single-byte one.
using LeadBytePredicate = bool (*)(unsigned char byte);

// Length in bytes (1 or 2) of the character that starts at position i; a lead byte at the very end stands alone.
size_t CharacterLength(const std::string& text, size_t i, LeadBytePredicate isLeadByte);

// Position of the last single-byte character of text that is one of chars; npos when there is none. A trail
// byte that happens to equal one of them is not taken for it.
size_t FindLastCharacterOf(const std::string& text, const char* chars, LeadBytePredicate isLeadByte);

// text without the backslashes at its end (a trail byte 0x5C stays: it is part of its character).
std::string TrimTrailingBackslashes(const std::string& text, LeadBytePredicate isLeadByte);
