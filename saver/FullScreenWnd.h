#pragma once
#include <functional>
#include <string>
#include <utility>

#include "saver/DeskLayout.h"
#include "saver/SaverWnd.h"

// The run-mode saver: a hidden topmost pop-up over every monitor of the desk that ends on the user's first input.
class CFullScreenWnd : public CSaverWnd {
public:
    // readDesk tells the desk the window covers, at creation and after every change of the display layout.
    explicit CFullScreenWnd(std::string settingsFile, RenderFaults faults = {},
                            std::function<DeskLayout()> readDesk = &ReadDeskLayout)
        : CSaverWnd(std::move(settingsFile), faults), m_readDesk(std::move(readDesk)) {}
    ~CFullScreenWnd() override = default;

    // Tells the system a saver runs and creates the window over the whole virtual screen, its render thread
    // drawing on each monitor. On failure the flag is cleared again and the caller still owns the object.
    BOOL CreateFullScreen();

    // Reference mouse position; (-1, -1) until the first move after the window is shown.
    POINT MouseReference() const { return POINT{m_nLastX, m_nLastY}; }

protected:
    // Forgets the reference position: the next move sets it again instead of ending the saver.
    void ForgetMouseReference();

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnDestroy();
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    void OnActivateApp(BOOL bActive, DWORD dwThreadId);
    void OnMouseMove(UINT nFlags, POINT point);
    LRESULT OnDisplayChange(WPARAM bitsPerPixel, LPARAM size);
    LRESULT OnPowerBroadcast(WPARAM event, LPARAM setting);
    // A button pressed or a key struck: the saver ends.
    void OnEndInput(UINT message, WPARAM wParam, LPARAM lParam);

    // The common end request: ask for the password where enabled, then post WM_CLOSE.
    void RequestEnd();

    DECLARE_MESSAGE_MAP()

private:
    std::function<DeskLayout()> m_readDesk;
    // Registered for the console display state while the window exists (the system then sends the current one).
    CScopedHandle<HPOWERNOTIFY, &::UnregisterPowerSettingNotification> m_displayStateNotification;
    // The window's client coordinates start at 0 at the virtual screen's top-left, so no real position is -1.
    int m_nLastX = -1;
    int m_nLastY = -1;
    bool m_bVerifying = false;
};
