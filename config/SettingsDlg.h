#pragma once
#include <windows.h>

#include <string>

#include "config/ColorSwatch.h"
#include "config/LinkLabel.h"
#include "fw/Dialog.h"
#include "fw/Gdi.h"

// The configure-mode dialog (template 102): edits the six settings and shows the version box.
class CSettingsDlg : public CDialog {
public:
    // settingsFile is where the settings are read from at start and written to on OK; lang is the face the
    // dialog shows (its template, messages and version strings).
    CSettingsDlg(HWND owner, std::string settingsFile, LANGID lang);
    ~CSettingsDlg() override;

    // Longest picture path OK accepts; typing in the edit stops there too.
    static constexpr int kMaxPictureFileChars = 256;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnLButtonDown(UINT nFlags, POINT point);
    void OnRButtonDown(UINT nFlags, POINT point);
    void OnBrowse();
    void OnSpiralTimeKillFocus();
    void OnPictureTimeKillFocus();

    DECLARE_MESSAGE_MAP()

private:
    const std::string m_strSettingsFile;
    CColorSwatch m_backColor;
    CColorSwatch m_frontColor;
    CLinkLabel m_urlLink;
    CLinkLabel m_mailLink;
    int m_nSpeed = 0;
    int m_nPictureTime = 0;
    int m_nSpiralTime = 0;
    std::string m_strPictureFile;
    CIcon m_icon;

    void FillVersionBox();
    void ShowIconAtDialogDpi();
    void NormaliseTimeEdit(int spinId);
};
