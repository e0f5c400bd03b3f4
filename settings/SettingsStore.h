#pragma once
// Reads and writes the settings in the current user's section of the settings file.
#include "settings/SaverSettings.h"

// The current user's section: the login name from GetUserNameA (64-character buffer), or kFallbackSection.
std::string GetSettingsSection();

// The settings file of this process (the application's profile file).
const char* SettingsFile();

// Every key that is missing takes its default; values are returned as stored, unclamped.
SaverSettings LoadSettings(const char* file = SettingsFile());
// Writes Speed, SpiralTime, PictureTime, PictureFile, FrontColor, BackColor in that order.
void SaveSettings(const SaverSettings& settings, const char* file = SettingsFile());
