#include "config/ColorSwatch.h"

#include <commdlg.h>

BEGIN_MESSAGE_MAP(CColorSwatch, CStatic)
ON_WM_PAINT()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CColorSwatch::CColorSwatch() : m_brush(RGB(0, 0, 0)) {}

CColorSwatch::~CColorSwatch() = default;

COLORREF* CColorSwatch::CustomColors() {
    static COLORREF s_colors[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    return s_colors;
}

void CColorSwatch::SetColor(COLORREF color) {
    m_color = color;
    m_brush.CreateSolidBrush(color);
    Invalidate(TRUE);
}

void CColorSwatch::ChooseNewColor() {
    COLORREF current = GetColor();
    // The swatch names no owner of its own: the colour dialog belongs to the window the swatch sits in (the
    // settings dialog, the application's main window while it runs).
    HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);

    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = current;
    cc.lpCustColors = CustomColors();
    // Black opens the dialog with nothing preselected; any other colour is preselected.
    cc.Flags = current != 0 ? CC_RGBINIT : 0;
    if (::ChooseColorA(&cc))
        SetColor(cc.rgbResult);
}

BOOL CColorSwatch::PreTranslateMessage(MSG* msg) {
    // Enter picks a colour here instead of pressing the dialog's default button.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        ChooseNewColor();
        return TRUE;
    }
    return CStatic::PreTranslateMessage(msg);
}

void CColorSwatch::OnPaint() {
    CPaintDC dc(m_hWnd);
    RECT rc;
    GetClientRect(&rc);
    // Without a brush of its own (it could not be made) the swatch still shows its colour.
    if (m_brush.IsNull()) {
        ::SetDCBrushColor(dc, m_color);
        ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    } else {
        ::FillRect(dc, &rc, m_brush);
    }
    if (::GetFocus() == m_hWnd)
        ::DrawFocusRect(dc, &rc);
}

void CColorSwatch::OnSetFocus(HWND) {
    Default();
    CClientDC dc(m_hWnd);
    RECT rc;
    GetClientRect(&rc);
    ::DrawFocusRect(dc, &rc);
}

void CColorSwatch::OnKillFocus(HWND) {
    Default();
    // Repainting the plain colour wipes the focus rectangle.
    Invalidate(TRUE);
}

void CColorSwatch::OnClicked() {
    SetFocus();
}

void CColorSwatch::OnLButtonDblClk(UINT, POINT) {
    ChooseNewColor();
    Default();
}
