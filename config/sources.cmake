list(APPEND CORE_SOURCES config/ConfigRules.cpp)
set(CONFIG_WIN_SOURCES config/SettingsDlg.cpp config/ColorSwatch.cpp config/LinkLabel.cpp)
