#include "saver/FullScreenWnd.h"

#include "saver/SaverPassword.h"

BEGIN_MESSAGE_MAP(CFullScreenWnd, CSaverWnd)
ON_WM_SYSCOMMAND()
ON_WM_DESTROY()
ON_WM_SETCURSOR()
ON_WM_ACTIVATEAPP()
ON_WM_MOUSEMOVE()
ON_MESSAGES(OnEndInput, WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_KEYDOWN, WM_SYSKEYDOWN)
END_MESSAGE_MAP()

BOOL CFullScreenWnd::CreateFullScreen() {
    int height = ::GetSystemMetrics(SM_CYSCREEN);
    int width = ::GetSystemMetrics(SM_CXSCREEN);
    ::SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
    RECT rect{0, 0, width, height};
    if (CreateSaverWindow(WS_EX_TOPMOST, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect, nullptr))
        return TRUE;
    ::SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    return FALSE;
}

void CFullScreenWnd::OnSysCommand(UINT nID, LPARAM) {
    // The saver swallows a new saver start and the close command of Alt+F4. The system keeps the four low bits
    // of the command for itself, so they are masked before comparing.
    const UINT command = nID & 0xFFF0;
    if (command == SC_SCREENSAVE || command == SC_CLOSE)
        return;
    Default();
}

void CFullScreenWnd::OnDestroy() {
    ::SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    ::PostQuitMessage(0);
    CSaverWnd::OnDestroy();
}

BOOL CFullScreenWnd::OnSetCursor(HWND, UINT, UINT) {
    ::SetCursor(nullptr);
    return TRUE;
}

void CFullScreenWnd::OnActivateApp(BOOL bActive, DWORD) {
    if (!bActive)
        RequestEnd();
    Default();
}

void CFullScreenWnd::OnMouseMove(UINT, POINT point) {
    if (m_nLastX == -1 && m_nLastY == -1) {
        m_nLastX = point.x;
        m_nLastY = point.y;
    } else if (point.x != m_nLastX || point.y != m_nLastY) {
        RequestEnd();
    }
    Default();
}

void CFullScreenWnd::ForgetMouseReference() {
    m_nLastX = -1;
    m_nLastY = -1;
}

void CFullScreenWnd::OnEndInput(UINT, WPARAM, LPARAM) {
    RequestEnd();
    Default();
}

void CFullScreenWnd::RequestEnd() {
    if (!IsWindowVisible())
        return;
    // Input that arrives while the prompt is open (it runs its own loop) must not stack a second prompt.
    if (m_bVerifying)
        return;
    CSaverPassword password;
    if (password.IsPasswordEnabled()) {
        m_bVerifying = true;
        BOOL proved = password.VerifyPassword(m_hWnd);
        m_bVerifying = false;
        if (!proved) {
            ForgetMouseReference();
            return;
        }
    }
    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}
