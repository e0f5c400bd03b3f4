list(APPEND CORE_SOURCES config/ConfigRules.cpp)
list(APPEND WIN_SOURCES config/SettingsDlg.cpp config/ColorSwatch.cpp config/LinkLabel.cpp)
