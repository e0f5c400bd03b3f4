#pragma once
#include <windows.h>

#include "fw/Gdi.h"
#include "fw/Static.h"

// A static control that behaves like a hyperlink: link colours, underline on hover, and its caption handed
// to the shell on a click or Enter.
class CLinkLabel : public CStatic {
public:
    CLinkLabel();
    ~CLinkLabel() override;

    // Opens the caption with the shell; a caption without a colon is a mail address.
    void OpenTarget();
    // Plain font, red with the keyboard focus and blue without.
    void ShowNormal();
    // The button-face frame around the client area, with the focus rectangle on it while focused.
    void DrawFrame();

    BOOL PreTranslateMessage(MSG* msg) override;

    static constexpr COLORREF kNormalColor = RGB(0, 0, 255);
    static constexpr COLORREF kFocusColor = RGB(255, 0, 0);
    static constexpr COLORREF kHoverColor = RGB(255, 128, 0);

protected:
    void PreSubclassWindow() override;

    HBRUSH CtlColor(HDC hDC, UINT nCtlColor);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, POINT point);
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    void OnRButtonDown(UINT nFlags, POINT point);
    void OnRButtonUp(UINT nFlags, POINT point);
    void OnMButtonDown(UINT nFlags, POINT point);
    void OnMButtonUp(UINT nFlags, POINT point);
    void OnSetFocus(HWND hOldFocus);
    void OnKillFocus(HWND hNewFocus);
    void OnPaint();
    void OnCaptureChanged(HWND hWndGaining);

    DECLARE_MESSAGE_MAP()

private:
    LOGFONTA m_logFont{};
    BOOL m_bPressed = FALSE;
    HCURSOR m_hLinkCursor = nullptr;
    CFont m_font;
    COLORREF m_textColor = kNormalColor;
    CBrush m_bkBrush;
    // The label is sized to its caption at its first paint. A flag of its own marks that paint, since a hover
    // before it (the font description is taken at attachment) already creates m_font.
    BOOL m_bSizedToCaption = FALSE;
    // Set while the label gives up the capture itself, which is not a capture taken away.
    BOOL m_bReleasingCapture = FALSE;

    void TakeFontDescription();
    void ApplyFont(BOOL underline);
    void CancelPress();
    void ReleaseOwnCapture();
};
