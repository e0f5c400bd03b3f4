#include "config/SettingsDlg.h"

#include "res/resource.h"

CSettingsDlg::CSettingsDlg(HWND owner) : CDialog(IDD_SETTINGS, owner) {}
