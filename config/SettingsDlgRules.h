#pragma once
// Platform-free rules of the settings dialog: where Browse starts, and how the version box addresses and shows
// the version resource's strings.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fw/MultiByteText.h"

// The initial folder of the Browse dialog for the path edit's text: everything up to and including its last
// backslash, or empty when it has none. Two-byte characters are stepped over whole, so a trail byte that
// happens to be 0x5C (as in the Japanese code page) is not taken for a separator.
std::string BrowseInitialFolder(const std::string& text, LeadBytePredicate isLeadByte);

// The translation entry (language in the low 16 bits, code page in the high 16) whose strings the version box
// shows: the first one in the dialog's language, else the first one listed; 0 when the list is empty.
uint32_t PickTranslation(const uint32_t* entries, size_t count, uint16_t language);

// "\StringFileInfo\llllcccc\" for a translation entry (language in the low 16 bits, code page in the high 16).
std::string VersionStringPrefix(uint32_t translation);

// The version box's first line.
std::string VersionLine(const std::string& productName, const std::string& productVersion);
