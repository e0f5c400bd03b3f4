#include "settings/SettingsStore.h"

#include <windows.h>

#include <vector>

#include "fw/AnsiCodePage.h"
#include "fw/FailureLog.h"
#include "settings/SettingsFiles.h"
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
// Section names compared as the platform's profile calls compare them: as UTF-16, without regard to case.
bool SameSectionName(const std::string& a, const std::string& b) {
    const auto wide = [](const std::string& text) {
        std::wstring w(text.size(), L'\0');
        w.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &w[0],
                                                           static_cast<int>(w.size()))));
        return w;
    };
    const std::wstring wa = wide(a), wb = wide(b);
    return ::CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()),
                                  TRUE) == CSTR_EQUAL;
}
} // namespace

bool SaveSettings(const SaverSettings& s, const char* file) {
    // One save at a time across processes: two read-modify-replace rounds at once would lose one of them.
    const CSettingsLock lock(file, kSettingsLockWaitMs);
    if (!lock.Held())
        return false;
    CSettingsFiles files;
    const ProfileNames names{&IsAnsiLeadByte, &SameSectionName};
    if (SaveSettingsThrough(files, file, GetSettingsSection(), s, names, lock.OnSettingsFile()))
        return true;
    LogFailure("settings not saved to %s (error %lu)", file, ::GetLastError());
    return false;
}
