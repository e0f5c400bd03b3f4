#pragma once
// The settings file on the disk: the file calls of a save, and the lock that makes saves take turns.
#include "fw/Handles.h"
#include "settings/SettingsSave.h"

// The save's file calls on the real file system. A reader or a virus scanner may hold a file for a moment, so the
// calls that meet one retry briefly.
class CSettingsFiles : public ISettingsFiles {
public:
    ReadResult Read(const std::string& path, std::string& text) override;
    bool Create(const std::string& path) override;
    bool OpenExisting(const std::string& path) override;
    bool Write(const std::string& text) override;
    bool Flush() override;
    void Close() override { m_file.Reset(); }
    bool Replace(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;

private:
    CFileHandle m_file;
};

// The lock of one settings file, across processes and user sessions, on a network share too: a byte range of the
// lock file beside it (or, where that file cannot be made, of the settings file itself) locked exclusively. The
// system drops a process's locks when it ends, so a saver that crashed holds nothing.
class CSettingsLock {
public:
    // Waits up to waitMs for the lock.
    CSettingsLock(const std::string& settingsPath, unsigned waitMs);
    ~CSettingsLock();
    CSettingsLock(const CSettingsLock&) = delete;
    CSettingsLock& operator=(const CSettingsLock&) = delete;
    bool Held() const { return m_bHeld; }
    // True when the lock is on the settings file itself: the folder refused the lock file, and that file is open.
    bool OnSettingsFile() const { return m_bOnSettingsFile; }

private:
    CFileHandle m_file;
    bool m_bHeld = false;
    bool m_bOnSettingsFile = false;
};

// How long a save waits for another process's save before it fails.
constexpr unsigned kSettingsLockWaitMs = 3000;
