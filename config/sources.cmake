list(APPEND CORE_SOURCES config/LinkTarget.cpp config/SettingsDlgRules.cpp config/ThemeColors.cpp config/ColorSpeech.cpp)
set(CONFIG_WIN_SOURCES config/SettingsDlg.cpp config/ColorSwatch.cpp config/LinkLabel.cpp config/SystemTheme.cpp)
