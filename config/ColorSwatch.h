#pragma once
#include <windows.h>

#include "fw/Gdi.h"
#include "fw/Static.h"

// A bordered static control that shows one colour and lets the user change it with the colour dialog.
class CColorSwatch : public CStatic {
public:
    CColorSwatch();
    ~CColorSwatch() override;

    // Takes the colour, makes its brush and repaints; the control must be subclassed.
    void SetColor(COLORREF color);
    // The colour last set: kept apart from the brush, so a brush that could not be made never changes it.
    COLORREF GetColor() const { return m_color; }
    // Opens the colour dialog on the current colour and takes the colour the user confirms.
    void ChooseNewColor();

    BOOL PreTranslateMessage(MSG* msg) override;

    // The sixteen custom colours every colour dialog of this process shares (white at start, never saved).
    static COLORREF* CustomColors();

protected:
    void OnPaint();
    void OnSetFocus(HWND hOldFocus);
    void OnKillFocus(HWND hNewFocus);
    void OnClicked();
    void OnLButtonDblClk(UINT nFlags, POINT point);

    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_color = RGB(0, 0, 0);
    CBrush m_brush;
};
