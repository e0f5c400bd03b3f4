#include "settings/SettingsPath.h"

std::string SettingsPathFromModule(const std::string& modulePath, LeadBytePredicate isLeadByte) {
    const size_t separator = FindLastCharacterOf(modulePath, "\\/:", isLeadByte);
    const size_t dot = FindLastCharacterOf(modulePath, ".", isLeadByte);
    // A dot in a folder name is not the file name's.
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return modulePath + ".ini";
    return modulePath.substr(0, dot + 1) + "ini";
}
