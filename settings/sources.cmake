list(APPEND CORE_SOURCES settings/SettingsPath.cpp)
set(SETTINGS_WIN_SOURCES settings/SettingsStore.cpp)
