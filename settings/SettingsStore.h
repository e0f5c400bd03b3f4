#pragma once
// Reads and writes the settings in the current user's section of the settings file.
#include "settings/SaverSettings.h"

// The current user's section: the login name from GetUserNameA (64-character buffer), or kFallbackSection.
std::string GetSettingsSection();

// Both take the settings file's path; the application decides where it lives and hands it down.

// Every key that is missing takes its default; values are returned as stored, unclamped.
SaverSettings LoadSettings(const char* file);
// Writes the six keys into the current user's section, replacing the whole file in one step, so that every reader,
// and a cut at any moment, finds either the old settings or the new ones; one save at a time across processes.
// False, with the file unchanged, when the save cannot be made (a folder or file that refuses it, another save
// holding the lock for seconds).
bool SaveSettings(const SaverSettings& settings, const char* file);
