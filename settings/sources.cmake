list(APPEND CORE_SOURCES settings/SettingsPath.cpp)
list(APPEND WIN_SOURCES settings/SettingsStore.cpp)
