list(APPEND CORE_SOURCES settings/SettingsPath.cpp settings/SettingsText.cpp settings/ProfileSection.cpp
     settings/SettingsSave.cpp)
set(SETTINGS_WIN_SOURCES settings/SettingsStore.cpp settings/SettingsFiles.cpp)
