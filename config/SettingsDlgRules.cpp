#include "config/SettingsDlgRules.h"

#include <cstdio>

std::string BrowseInitialFolder(const std::string& text, LeadBytePredicate isLeadByte) {
    const size_t separator = FindLastCharacterOf(text, "\\", isLeadByte);
    return separator == std::string::npos ? std::string() : text.substr(0, separator + 1);
}

uint32_t PickTranslation(const uint32_t* entries, size_t count, uint16_t language) {
    for (size_t i = 0; i < count; ++i)
        if ((entries[i] & 0xFFFF) == language)
            return entries[i];
    return count > 0 ? entries[0] : 0;
}

std::string VersionStringPrefix(uint32_t translation) {
    char prefix[40];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", static_cast<unsigned>(translation & 0xFFFF),
                  static_cast<unsigned>(translation >> 16));
    return prefix;
}

std::string VersionLine(const std::string& productName, const std::string& productVersion) {
    return productName + " version " + productVersion;
}
