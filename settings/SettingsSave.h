#pragma once
// A save of the settings as one replacement of the whole file: the new text goes into a temporary beside it, onto
// the disk, and then in place of the old file in one step, so that a cut at any moment leaves the old file or the
// new one, whole. Platform-free: the file calls go through an interface, in the order a save makes them.
#include <string>

#include "settings/ProfileSection.h"

// The file calls of one save. One file is open for writing at a time.
class ISettingsFiles {
public:
    enum class ReadResult { Read, Missing, Failed };
    virtual ~ISettingsFiles() = default;
    virtual ReadResult Read(const std::string& path, std::string& text) = 0;
    // Opens path for writing: Create makes a new, empty file; OpenExisting opens the one that is there.
    virtual bool Create(const std::string& path) = 0;
    virtual bool OpenExisting(const std::string& path) = 0;
    // Makes the open file hold exactly text. Until Flush it may be lost to a crash or a power cut.
    virtual bool Write(const std::string& text) = 0;
    virtual bool Flush() = 0;
    virtual void Close() = 0;
    // Puts the file from in place of the file to in one step.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
};

// Files a save keeps beside the settings file: the temporary it writes (gone after every save, and tidied by the
// next save after a crash), and the file whose lock makes saves take turns (kept, so that no two savers can ever
// lock two different files of that name).
std::string SettingsTempPath(const std::string& settingsPath);
std::string SettingsLockPath(const std::string& settingsPath);

// Writes the six settings into section of the file at path. Must run under the lock. inPlace writes over the file
// itself instead of replacing it (for a folder that refuses new files). False, with the file as it was, when
// anything fails (in place: as it was unless the write itself failed).
bool SaveSettingsThrough(ISettingsFiles& files, const std::string& path, const std::string& section,
                         const SaverSettings& settings, const ProfileNames& names, bool inPlace);
