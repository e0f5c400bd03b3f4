#pragma once
// Reads and writes the settings in the current user's section of the settings file.
#include "settings/SaverSettings.h"

// The current user's section: the login name from GetUserNameA (64-character buffer), or kFallbackSection.
std::string GetSettingsSection();

// Both take the settings file's path; the application decides where it lives and hands it down.

// Every key that is missing takes its default; values are returned as stored, unclamped.
SaverSettings LoadSettings(const char* file);
// Writes Speed, SpiralTime, PictureTime, PictureFile, FrontColor, BackColor in that order; false when any of
// the writes failed (all six are still attempted).
bool SaveSettings(const SaverSettings& settings, const char* file);
