#include "config/ColorSwatch.h"

#include <commdlg.h>
#include <oleacc.h>

#include "config/ColorSpeech.h"
#include "config/SystemTheme.h"

BEGIN_MESSAGE_MAP(CColorSwatch, CAccessibleWnd)
ON_WM_PAINT()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
ON_WM_LBUTTONDBLCLK()
ON_MESSAGE(WM_NCPAINT, OnNcPaint)
ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
END_MESSAGE_MAP()

CColorSwatch::CColorSwatch() : m_brush(RGB(0, 0, 0)), m_theme(CurrentThemeColors()) {}

CColorSwatch::~CColorSwatch() = default;

COLORREF* CColorSwatch::CustomColors() {
    static COLORREF s_colors[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    return s_colors;
}

void CColorSwatch::SetColor(COLORREF color) {
    const bool changed = color != m_color;
    m_color = color;
    m_brush.CreateSolidBrush(color);
    Invalidate(TRUE);
    if (changed) {
        NotifyAccessibleChange(EVENT_OBJECT_VALUECHANGE);
        NotifyAccessibleChange(EVENT_OBJECT_DESCRIPTIONCHANGE);
    }
}

void CColorSwatch::SetAccessibleTexts(std::string name, std::string colorFormat, std::string pressAction) {
    SetAccessibleName(std::move(name));
    m_strColorFormat = std::move(colorFormat);
    m_strPressAction = std::move(pressAction);
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
    return CAccessibleWnd::PreTranslateMessage(msg);
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
        DrawFocusMark(dc, rc);
}

void CColorSwatch::DrawFocusMark(HDC dc, const RECT& rc) const {
    uint32_t outline = 0;
    if (OutlineColor(m_theme, outline))
        FrameInColor(dc, rc, outline);
    else
        ::DrawFocusRect(dc, &rc);
}

void CColorSwatch::OnSetFocus(HWND) {
    Default();
    CClientDC dc(m_hWnd);
    RECT rc;
    GetClientRect(&rc);
    DrawFocusMark(dc, rc);
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

LRESULT CColorSwatch::OnNcPaint(WPARAM, LPARAM) {
    const LRESULT result = Default();
    // In high contrast the border goes round the user's colour in the theme's text colour, whatever it is.
    uint32_t outline = 0;
    if (OutlineColor(m_theme, outline)) {
        CWindowDC dc(m_hWnd);
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        ::OffsetRect(&rc, -rc.left, -rc.top);
        FrameInColor(dc, rc, outline);
    }
    return result;
}

LRESULT CColorSwatch::OnSysColorChange(WPARAM, LPARAM) {
    m_theme = CurrentThemeColors();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
    return Default();
}

bool CColorSwatch::AccRole(long& role) const {
    role = ROLE_SYSTEM_PUSHBUTTON;
    return true;
}

bool CColorSwatch::AccValue(std::string& value) const {
    value = m_strColorFormat.empty() ? ColorHexText(m_color) : ColorSpeech(m_strColorFormat, m_color);
    return true;
}

bool CColorSwatch::AccDescription(std::string& description) const {
    description = ColorHexText(m_color);
    return true;
}

bool CColorSwatch::AccState(long standard, long& state) const {
    state = FocusableState(standard);
    return true;
}

bool CColorSwatch::AccDefaultAction(std::string& action) const {
    action = m_strPressAction;
    return !action.empty();
}

void CColorSwatch::OnAccDoDefaultAction() {
    ChooseNewColor();
}
