#include "settings/SettingsStore.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "settings/SettingsText.h"

std::string GetSettingsSection() {
    char name[64] = {};
    DWORD size = sizeof name;
    const bool read = ::GetUserNameA(name, &size) != FALSE;
    return SectionFromUserName(name, sizeof name, read);
}

namespace {
// Numbers and colours are read as text and converted here, not by the platform's integer read, so that the
// conversion of whatever a hand-edited file holds is code of ours that can be tried on any bytes.
int32_t ReadInt(const char* section, const char* key, int32_t fallback, const char* file) {
    char text[kProfileIntBuffer] = {};
    ::GetPrivateProfileStringA(section, key, "", text, sizeof text, file);
    return ProfileIntFromText(text, fallback);
}
} // namespace

SaverSettings LoadSettings(const char* file) {
    const SaverSettings defaults;
    SaverSettings s;
    const std::string section = GetSettingsSection();
    const char* sec = section.c_str();
    s.Speed = ReadInt(sec, "Speed", defaults.Speed, file);
    s.SpiralTime = ReadInt(sec, "SpiralTime", defaults.SpiralTime, file);
    s.PictureTime = ReadInt(sec, "PictureTime", defaults.PictureTime, file);
    std::vector<char> path(kPictureFileBuffer, '\0');
    ::GetPrivateProfileStringA(sec, "PictureFile", "", path.data(), kPictureFileBuffer, file);
    s.PictureFile = path.data();
    s.FrontColor = static_cast<uint32_t>(ReadInt(sec, "FrontColor", static_cast<int32_t>(defaults.FrontColor), file));
    s.BackColor = static_cast<uint32_t>(ReadInt(sec, "BackColor", static_cast<int32_t>(defaults.BackColor), file));
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
