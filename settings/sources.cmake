list(APPEND CORE_SOURCES settings/SettingsPath.cpp settings/SettingsText.cpp)
set(SETTINGS_WIN_SOURCES settings/SettingsStore.cpp)
