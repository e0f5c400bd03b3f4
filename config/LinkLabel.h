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
    // The right or middle button, pressed or released: any press of the left one is cancelled.
    void OnOtherButton(UINT message, WPARAM wParam, LPARAM lParam);
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
    // Set while the label gives up the capture itself, which is not a capture taken away.
    BOOL m_bReleasingCapture = FALSE;

    void TakeFontDescription();
    // Caption plus one pixel around, measured in the font the dialog gave the label; done once, when subclassed.
    void SizeToCaption();
    // The caption and the frame, into dc.
    void PaintContent(HDC dc);
    void DrawFrameOn(HDC dc);
    void ApplyFont(BOOL underline);
    void CancelPress();
    void ReleaseOwnCapture();
};
