#include "config/LinkLabel.h"

#include <oleacc.h>
#include <shellapi.h>

#include <string>

#include "config/LinkTarget.h"
#include "config/SystemTheme.h"

BEGIN_MESSAGE_MAP(CLinkLabel, CAccessibleWnd)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_MESSAGES(OnOtherButton, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_PAINT()
ON_WM_CAPTURECHANGED()
ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
END_MESSAGE_MAP()

CLinkLabel::CLinkLabel() : m_theme(CurrentThemeColors()) {
    m_bkBrush.CreateSolidBrush(m_theme.face);
    SetLook(LinkLook::Normal);
    m_hLinkCursor = ::LoadCursorA(nullptr, IDC_HAND);
    if (m_hLinkCursor == nullptr)
        m_hLinkCursor = ::LoadCursorA(nullptr, IDC_ARROW);
}

CLinkLabel::~CLinkLabel() = default;

void CLinkLabel::PreSubclassWindow() {
    // The dialog has given the label its font by now, and the label has not been painted yet.
    TakeFontDescription();
    SizeToCaption();
}

void CLinkLabel::TakeFontDescription() {
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    ::GetObjectA(font, sizeof m_logFont, &m_logFont);
}

void CLinkLabel::ApplyFont(BOOL underline) {
    m_logFont.lfUnderline = underline ? TRUE : FALSE;
    // The label keeps using the old font until it has the new one, so the old one is deleted only after.
    CFont font;
    font.CreateFontIndirect(&m_logFont);
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
    m_font = std::move(font);
}

void CLinkLabel::OpenTarget() {
    std::string target = LinkTargetFromCaption(GetWindowText());
    ::ShellExecuteA(GetParentHwnd(), "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CLinkLabel::ShowNormal() {
    ApplyFont(FALSE);
    SetLook(::GetFocus() == m_hWnd ? LinkLook::Focused : LinkLook::Normal);
    Invalidate(TRUE);
}

void CLinkLabel::SetLook(LinkLook look) {
    m_look = look;
    m_textColor = LinkTextColor(look, m_theme);
}

void CLinkLabel::DrawFrame() {
    CClientDC dc(m_hWnd);
    DrawFrameOn(dc);
}

void CLinkLabel::DrawFrameOn(HDC dc) {
    RECT rc;
    GetClientRect(&rc);
    ::FrameRect(dc, &rc, m_bkBrush);
    if (::GetFocus() != m_hWnd)
        return;
    uint32_t outline = 0;
    if (OutlineColor(m_theme, outline))
        FrameInColor(dc, rc, outline);
    else
        ::DrawFocusRect(dc, &rc);
}

BOOL CLinkLabel::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN) {
        // A held left button owns the label: no key may act meanwhile.
        if (m_bPressed)
            return TRUE;
        // Enter opens the link instead of pressing the dialog's default button.
        if (msg->wParam == VK_RETURN) {
            OpenTarget();
            return TRUE;
        }
    }
    return CAccessibleWnd::PreTranslateMessage(msg);
}

HBRUSH CLinkLabel::CtlColor(HDC hDC, UINT) {
    ::SetTextColor(hDC, m_textColor);
    ::SetBkColor(hDC, m_theme.face);
    return m_bkBrush;
}

BOOL CLinkLabel::OnSetCursor(HWND, UINT, UINT) {
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CLinkLabel::OnMouseMove(UINT, POINT point) {
    if (::GetCapture() == nullptr) {
        // Entering: hover look, and the capture so that leaving is seen too.
        ApplyFont(TRUE);
        SetLook(LinkLook::Hover);
        Invalidate(FALSE);
        ::SetCapture(m_hWnd);
    }
    RECT rc;
    GetClientRect(&rc);
    if (!::PtInRect(&rc, point) && !m_bPressed) {
        ShowNormal();
        ReleaseOwnCapture();
    }
    Default();
}

void CLinkLabel::OnLButtonDown(UINT, POINT) {
    m_bPressed = TRUE;
    SetFocus();
    DrawFrame();
    Default();
}

void CLinkLabel::OnLButtonUp(UINT, POINT point) {
    if (m_bPressed) {
        ReleaseOwnCapture();
        RECT rc;
        GetClientRect(&rc);
        if (::PtInRect(&rc, point)) {
            OpenTarget();
            // The hover look stays while the cursor is still over the label.
            POINT cursor;
            RECT window;
            ::GetCursorPos(&cursor);
            ::GetWindowRect(m_hWnd, &window);
            if (!::PtInRect(&window, cursor))
                ShowNormal();
        } else {
            ShowNormal();
        }
        m_bPressed = FALSE;
    }
    Default();
}

void CLinkLabel::CancelPress() {
    ReleaseOwnCapture();
    ShowNormal();
    m_bPressed = FALSE;
}

void CLinkLabel::ReleaseOwnCapture() {
    m_bReleasingCapture = TRUE;
    ::ReleaseCapture();
    m_bReleasingCapture = FALSE;
}

void CLinkLabel::OnCaptureChanged(HWND) {
    // Taken away (another window took the mouse, or the user switched away with the button held): the label will
    // see neither the release nor the leaving, so it lets go of the press and the hover now. Otherwise a press
    // would stay and swallow every key, and the next hover would take the capture for good.
    if (!m_bReleasingCapture) {
        m_bPressed = FALSE;
        ShowNormal();
    }
    Default();
}

void CLinkLabel::OnOtherButton(UINT, WPARAM, LPARAM) {
    CancelPress();
    Default();
}

void CLinkLabel::OnSetFocus(HWND) {
    Default();
    DrawFrame();
    // A hovering label keeps its hover look.
    if (::GetCapture() != m_hWnd)
        ShowNormal();
}

void CLinkLabel::OnKillFocus(HWND) {
    Default();
    ShowNormal();
}

void CLinkLabel::SizeToCaption() {
    std::string caption = GetWindowText();
    LOGFONTA plain = m_logFont;
    plain.lfUnderline = FALSE;
    CFont measureFont;
    measureFont.CreateFontIndirect(&plain);
    SIZE extent{};
    {
        CClientDC dc(m_hWnd);
        CSelectGuard select(dc, measureFont);
        ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    }
    // Caption plus one pixel on every side: the left edge stays and the label moves up by one pixel.
    POINT corners[2] = {{0, 0}, {extent.cx, extent.cy}};
    ::MapWindowPoints(m_hWnd, GetParentHwnd(), corners, 2);
    ::SetWindowPos(m_hWnd, nullptr, corners[0].x, corners[0].y - 1, extent.cx + 2, extent.cy + 2,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ShowNormal();
}

void CLinkLabel::OnPaint() {
    CPaintDC dc(m_hWnd);
    PaintContent(dc);
}

void CLinkLabel::PaintContent(HDC dc) {
    // The static control draws the caption, with the colours of CtlColor, then the frame goes over it.
    DefWindowProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    DrawFrameOn(dc);
}

LRESULT CLinkLabel::OnSysColorChange(WPARAM, LPARAM) {
    m_theme = CurrentThemeColors();
    m_bkBrush.CreateSolidBrush(m_theme.face);
    SetLook(m_look);
    Invalidate(TRUE);
    return Default();
}

bool CLinkLabel::AccRole(long& role) const {
    role = ROLE_SYSTEM_LINK;
    return true;
}

bool CLinkLabel::AccName(std::string& name) const {
    name = GetWindowText();
    return true;
}

bool CLinkLabel::AccValue(std::string& value) const {
    value = LinkTargetFromCaption(GetWindowText());
    return true;
}

bool CLinkLabel::AccState(long standard, long& state) const {
    state = FocusableState(standard) | STATE_SYSTEM_LINKED;
    return true;
}

bool CLinkLabel::AccDefaultAction(std::string& action) const {
    action = m_strJumpAction;
    return !action.empty();
}

void CLinkLabel::OnAccDoDefaultAction() {
    OpenTarget();
}
