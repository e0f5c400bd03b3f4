#pragma once
#include <windows.h>

#include <string>

#include "config/ColorSwatch.h"
#include "config/LinkLabel.h"
#include "fw/AccessibleWnd.h"
#include "fw/Dialog.h"
#include "fw/Gdi.h"
#include "fw/Handles.h"

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
    // A theme change (colours, high contrast): the controls are told, as only top-level windows hear of it.
    LRESULT OnThemeChange(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    const std::string m_strSettingsFile;
    // The controls hand their accessible objects to other processes through COM; entered before they exist and
    // left after they have gone.
    const CComApartment m_apartment;
    CColorSwatch m_backColor;
    CColorSwatch m_frontColor;
    CLinkLabel m_urlLink;
    CLinkLabel m_mailLink;
    // Named for screen readers: the slider's label is not the static just before it, and "..." says nothing.
    CAccessibleWnd m_speedSlider;
    CAccessibleButton m_browseButton;
    int m_nSpeed = 0;
    int m_nPictureTime = 0;
    int m_nSpiralTime = 0;
    std::string m_strPictureFile;
    CIcon m_icon;

    void FillVersionBox();
    void SetAccessibleTexts();
    void ShowIconAtDialogDpi();
    void NormaliseTimeEdit(int spinId);
};
