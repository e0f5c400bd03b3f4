#include "settings/SaverSettings.h"

std::string SettingsPathFromModule(const std::string& modulePath) {
    size_t dot = modulePath.rfind('.');
    if (dot == std::string::npos)
        return modulePath + ".ini";
    return modulePath.substr(0, dot + 1) + "ini";
}
