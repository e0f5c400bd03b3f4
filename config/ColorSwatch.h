#pragma once
#include <windows.h>

#include <string>

#include "config/ThemeColors.h"
#include "fw/AccessibleWnd.h"
#include "fw/Gdi.h"

// A bordered static control that shows one colour and lets the user change it with the colour dialog. To
// accessibility clients it is a push button named like its label, whose value is its colour.
class CColorSwatch : public CAccessibleWnd {
public:
    CColorSwatch();
    ~CColorSwatch() override;

    // Takes the colour, makes its brush and repaints; the control must be subclassed.
    void SetColor(COLORREF color);
    // The colour last set: kept apart from the brush, so a brush that could not be made never changes it.
    COLORREF GetColor() const { return m_color; }
    // Opens the colour dialog on the current colour and takes the colour the user confirms.
    void ChooseNewColor();
    // What a screen reader hears, in the dialog's language: the name, the colour's value (%1, %2, %3 its red,
    // green and blue) and the word for pressing.
    void SetAccessibleTexts(std::string name, std::string colorFormat, std::string pressAction);

    BOOL PreTranslateMessage(MSG* msg) override;

    // The sixteen custom colours every colour dialog of this process shares (white at start, never saved).
    static COLORREF* CustomColors();

protected:
    void OnPaint();
    void OnSetFocus(HWND hOldFocus);
    void OnKillFocus(HWND hNewFocus);
    void OnClicked();
    void OnLButtonDblClk(UINT nFlags, POINT point);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysColorChange(WPARAM wParam, LPARAM lParam);

    bool AccRole(long& role) const override;
    bool AccValue(std::string& value) const override;
    bool AccDescription(std::string& description) const override;
    bool AccState(long standard, long& state) const override;
    bool AccDefaultAction(std::string& action) const override;
    void OnAccDoDefaultAction() override;

    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_color = RGB(0, 0, 0);
    CBrush m_brush;
    ThemeColors m_theme;
    std::string m_strColorFormat;
    std::string m_strPressAction;

    // The focus rectangle, or in high contrast a frame in the theme's text colour.
    void DrawFocusMark(HDC dc, const RECT& rc) const;
};
