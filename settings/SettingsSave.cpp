#include "settings/SettingsSave.h"

std::string SettingsTempPath(const std::string& settingsPath) {
    return settingsPath + ".tmp";
}

std::string SettingsLockPath(const std::string& settingsPath) {
    return settingsPath + ".lock";
}

namespace {
bool WriteOpenFile(ISettingsFiles& files, const std::string& text) {
    const bool written = files.Write(text) && files.Flush();
    files.Close();
    return written;
}
} // namespace

bool SaveSettingsThrough(ISettingsFiles& files, const std::string& path, const std::string& section,
                         const SaverSettings& settings, const ProfileNames& names, bool inPlace) {
    const std::string temp = SettingsTempPath(path);
    // Only a save that was cut leaves a temporary, and saves take turns: whatever is there is left over.
    files.Remove(temp);
    std::string text;
    const ISettingsFiles::ReadResult read = files.Read(path, text);
    if (read == ISettingsFiles::ReadResult::Failed || !WriteSettingsSection(text, section, settings, names))
        return false;
    if (!inPlace) {
        // A temporary that cannot be made (held by a scanner, out of space) fails the save: writing the file over
        // itself instead would put every user's settings at the mercy of a cut.
        if (files.Create(temp) && WriteOpenFile(files, text) && files.Replace(temp, path))
            return true;
        files.Remove(temp);
        return false;
    }
    // The folder refuses new files (no lock file could be made beside the settings file), but the settings file may
    // still be writable (a folder locked down with a settings file opened up for its users): then writing it over
    // itself, and flushing, is the only save there is, though a cut in the middle of it can lose the file.
    if (read == ISettingsFiles::ReadResult::Missing || !files.OpenExisting(path))
        return false;
    return WriteOpenFile(files, text);
}
