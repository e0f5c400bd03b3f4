#include "config/ConfigRules.h"

#include <cstdio>

std::string LinkTargetFromCaption(const std::string& caption) {
    if (caption.find(':') != std::string::npos)
        return caption;
    return "mailto:" + caption;
}

std::string BrowseInitialFolder(const std::string& text, LeadBytePredicate isLeadByte) {
    size_t cut = 0; // length kept: just past the last separator found
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (isLeadByte != nullptr && isLeadByte(c) && i + 1 < text.size()) {
            i += 2;
            continue;
        }
        ++i;
        if (c == '\\')
            cut = i;
    }
    return text.substr(0, cut);
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
