#pragma once
#include "fw/Dialog.h"

// The configure-mode settings dialog (template 102).
class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(HWND owner);
};
