list(APPEND WIN_SOURCES config/SettingsDlg.cpp)
