#pragma once
#include <windows.h>

#include <string>

#include "config/ThemeColors.h"
#include "fw/AccessibleWnd.h"
#include "fw/Gdi.h"

// A static control that behaves like a hyperlink: link colours, underline on hover, and its caption handed
// to the shell on a click or Enter. To accessibility clients it is a link named by its caption, whose value is
// its target.
class CLinkLabel : public CAccessibleWnd {
public:
    CLinkLabel();
    ~CLinkLabel() override;

    // Opens the caption with the shell; a caption without a colon is a mail address.
    void OpenTarget();
    // Plain font, red with the keyboard focus and blue without.
    void ShowNormal();
    // The button-face frame around the client area, with the focus rectangle on it while focused.
    void DrawFrame();
    // The word a screen reader says for following the link, in the dialog's language.
    void SetDefaultActionName(std::string action) { m_strJumpAction = std::move(action); }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;

    HBRUSH CtlColor(HDC hDC, UINT nCtlColor);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, POINT point);
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    // The right or middle button, pressed or released: any press of the left one is cancelled.
    void OnOtherButton(UINT message, WPARAM wParam, LPARAM lParam);
    void OnSetFocus(HWND hOldFocus);
    void OnKillFocus(HWND hNewFocus);
    void OnPaint();
    void OnCaptureChanged(HWND hWndGaining);
    LRESULT OnSysColorChange(WPARAM wParam, LPARAM lParam);

    bool AccRole(long& role) const override;
    bool AccName(std::string& name) const override;
    bool AccValue(std::string& value) const override;
    bool AccState(long standard, long& state) const override;
    bool AccDefaultAction(std::string& action) const override;
    void OnAccDoDefaultAction() override;

    DECLARE_MESSAGE_MAP()

private:
    LOGFONTA m_logFont{};
    BOOL m_bPressed = FALSE;
    HCURSOR m_hLinkCursor = nullptr;
    CFont m_font;
    COLORREF m_textColor = 0;
    CBrush m_bkBrush;
    ThemeColors m_theme;
    LinkLook m_look = LinkLook::Normal;
    std::string m_strJumpAction;
    // Set while the label gives up the capture itself, which is not a capture taken away.
    BOOL m_bReleasingCapture = FALSE;

    void TakeFontDescription();
    // Caption plus one pixel around, measured in the font the dialog gave the label; done once, when subclassed.
    void SizeToCaption();
    // The caption and the frame, into dc.
    void PaintContent(HDC dc);
    void DrawFrameOn(HDC dc);
    void ApplyFont(BOOL underline);
    // Takes a look's text colour in the current theme.
    void SetLook(LinkLook look);
    void CancelPress();
    void ReleaseOwnCapture();
};
