#include "render/RenderThread.h"

#include "saver/SaverWnd.h"

// Provisional: shows the window and idles until stopped.
DWORD WINAPI RenderThreadProc(LPVOID param) {
    CSaverWnd* wnd = static_cast<CSaverWnd*>(param);
    HWND hwnd = wnd->m_hWnd;
    if (wnd->m_bStopRequested.load() == 0)
        ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    while (wnd->m_bStopRequested.load() == 0)
        ::Sleep(5);
    return 0;
}
