#include "fw/MultiByteText.h"

#include <cstring>

size_t CharacterLength(const std::string& text, size_t i, LeadBytePredicate isLeadByte) {
    const bool lead = isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(text[i]));
    return lead && i + 1 < text.size() ? 2 : 1;
}

size_t FindLastCharacterOf(const std::string& text, const char* chars, LeadBytePredicate isLeadByte) {
    size_t found = std::string::npos;
    for (size_t i = 0; i < text.size();) {
        const size_t length = CharacterLength(text, i, isLeadByte);
        if (length == 1 && text[i] != '\0' && std::strchr(chars, text[i]) != nullptr)
            found = i;
        i += length;
    }
    return found;
}

std::string TrimTrailingBackslashes(const std::string& text, LeadBytePredicate isLeadByte) {
    size_t keep = 0; // end of the last character that is not a backslash
    for (size_t i = 0; i < text.size();) {
        const size_t length = CharacterLength(text, i, isLeadByte);
        if (!(length == 1 && text[i] == '\\'))
            keep = i + length;
        i += length;
    }
    return text.substr(0, keep);
}
