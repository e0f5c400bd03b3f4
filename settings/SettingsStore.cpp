#include "settings/SettingsStore.h"

#include <windows.h>

#include <cstdio>
#include <vector>

std::string GetSettingsSection() {
    char name[64] = {};
    DWORD size = sizeof name;
    if (!::GetUserNameA(name, &size) || name[0] == '\0')
        return kFallbackSection;
    return name;
}

SaverSettings LoadSettings(const char* file) {
    const SaverSettings defaults;
    SaverSettings s;
    const std::string section = GetSettingsSection();
    const char* sec = section.c_str();
    s.Speed = static_cast<int32_t>(::GetPrivateProfileIntA(sec, "Speed", defaults.Speed, file));
    s.SpiralTime = static_cast<int32_t>(::GetPrivateProfileIntA(sec, "SpiralTime", defaults.SpiralTime, file));
    s.PictureTime = static_cast<int32_t>(::GetPrivateProfileIntA(sec, "PictureTime", defaults.PictureTime, file));
    std::vector<char> path(kPictureFileBuffer, '\0');
    ::GetPrivateProfileStringA(sec, "PictureFile", "", path.data(), kPictureFileBuffer, file);
    s.PictureFile = path.data();
    s.FrontColor = ::GetPrivateProfileIntA(sec, "FrontColor", static_cast<INT>(defaults.FrontColor), file);
    s.BackColor = ::GetPrivateProfileIntA(sec, "BackColor", static_cast<INT>(defaults.BackColor), file);
    return s;
}

namespace {
bool WriteInt(const char* section, const char* key, int32_t value, const char* file) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return ::WritePrivateProfileStringA(section, key, text, file) != FALSE;
}
} // namespace

bool SaveSettings(const SaverSettings& s, const char* file) {
    const std::string section = GetSettingsSection();
    const char* sec = section.c_str();
    // Every key is attempted even after one fails, so as much as possible is kept; any failure is reported.
    bool saved = WriteInt(sec, "Speed", s.Speed, file);
    saved &= WriteInt(sec, "SpiralTime", s.SpiralTime, file);
    saved &= WriteInt(sec, "PictureTime", s.PictureTime, file);
    saved &= ::WritePrivateProfileStringA(sec, "PictureFile", s.PictureFile.c_str(), file) != FALSE;
    saved &= WriteInt(sec, "FrontColor", static_cast<int32_t>(s.FrontColor), file);
    saved &= WriteInt(sec, "BackColor", static_cast<int32_t>(s.BackColor), file);
    return saved;
}
