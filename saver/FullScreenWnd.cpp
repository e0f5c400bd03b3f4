#include "saver/FullScreenWnd.h"

#include <cstring>

#include "fw/FailureLog.h"
#include "saver/SaverPassword.h"

namespace {
// The console display state's power setting (off, on, dimmed); declared by the headers, defined by no library.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
} // namespace

BEGIN_MESSAGE_MAP(CFullScreenWnd, CSaverWnd)
ON_WM_SYSCOMMAND()
ON_WM_DESTROY()
ON_WM_SETCURSOR()
ON_WM_ACTIVATEAPP()
ON_WM_MOUSEMOVE()
ON_MESSAGES(OnEndInput, WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_KEYDOWN, WM_SYSKEYDOWN)
ON_MESSAGE(WM_DISPLAYCHANGE, OnDisplayChange)
ON_MESSAGE(WM_POWERBROADCAST, OnPowerBroadcast)
END_MESSAGE_MAP()

BOOL CFullScreenWnd::CreateFullScreen() {
    // One window over the virtual screen: every monitor is covered, also one left of or above the primary (at
    // negative coordinates), and input on any of them reaches the window.
    const DeskLayout desk = m_readDesk();
    ::SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
    SetMonitors(desk.monitors);
    if (CreateSaverWindow(WS_EX_TOPMOST, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, desk.virtualScreen, nullptr)) {
        // Windows neither ends nor slows a saver when the power plan turns the displays off: it is told, and
        // stops drawing itself. Without the notification (Windows 7 knows no such setting) it draws on.
        m_displayStateNotification.Reset(
            ::RegisterPowerSettingNotification(m_hWnd, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE));
        return TRUE;
    }
    ::SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    return FALSE;
}

// A monitor was plugged in, unplugged or woken, or one changed its mode. The render thread placed its frames and
// pictures for the old desk, and the two threads share nothing but the stop request, so the saver does not patch
// the running thread: it stops it, covers the new virtual screen and starts a new one, which shows the loading
// screen and builds the frames for the new monitors, as at the start. No monitor is left showing the desktop for
// longer than that, and the saver goes on ending only on input (with the password where one is set): a change of
// monitors is not the user's input. The mouse reference is forgotten, since the pointer that stayed where it was
// now has another client position.
LRESULT CFullScreenWnd::OnDisplayChange(WPARAM, LPARAM) {
    const DeskLayout desk = m_readDesk();
    StopRenderThread();
    // The new thread reads the client size when it starts: the window is moved first, while no thread draws.
    SetMonitors(desk.monitors);
    const RECT& v = desk.virtualScreen;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, v.left, v.top, v.right - v.left, v.bottom - v.top, SWP_NOACTIVATE);
    ForgetMouseReference();
    // Without a new thread the window stays up over the desk as it was last drawn: ending the saver here would
    // pass over the password.
    if (!StartRenderThread())
        LogFailure("no render thread after a change of the display layout");
    Default();
    return 0;
}

LRESULT CFullScreenWnd::OnPowerBroadcast(WPARAM event, LPARAM setting) {
    const auto* change = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (event == PBT_POWERSETTINGCHANGE && change != nullptr &&
        ::IsEqualGUID(change->PowerSetting, kConsoleDisplayState) && change->DataLength >= sizeof(DWORD)) {
        DWORD state = 0;
        std::memcpy(&state, change->Data, sizeof state);
        // 0 off, 1 on, 2 dimmed (still seen, so drawn for); a state not known here is drawn for too.
        SetDisplayState(state == 0 ? DisplayState::Off : DisplayState::On);
        return TRUE;
    }
    return Default();
}

void CFullScreenWnd::OnSysCommand(UINT nID, LPARAM) {
    // The saver swallows a new saver start and the close command of Alt+F4. The system keeps the four low bits
    // of the command for itself, so they are masked before comparing.
    const UINT command = nID & 0xFFF0;
    if (command == SC_SCREENSAVE || command == SC_CLOSE)
        return;
    Default();
}

// This entry hides CSaverWnd's: the render thread stops only through the call at the end.
void CFullScreenWnd::OnDestroy() {
    m_displayStateNotification.Reset();
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
