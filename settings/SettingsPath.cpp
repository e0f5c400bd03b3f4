#include "settings/SaverSettings.h"

std::string SettingsPathFromModule(const std::string& modulePath, LeadBytePredicate isLeadByte) {
    size_t lastDot = std::string::npos;
    for (size_t i = 0; i < modulePath.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(modulePath[i]);
        if (isLeadByte(c) && i + 1 < modulePath.size()) {
            ++i; // the trail byte belongs to this character
        } else if (c == '\\' || c == '/' || c == ':') {
            lastDot = std::string::npos; // a dot in a folder name is not the file name's
        } else if (c == '.') {
            lastDot = i;
        }
    }
    if (lastDot == std::string::npos)
        return modulePath + ".ini";
    return modulePath.substr(0, lastDot + 1) + "ini";
}
