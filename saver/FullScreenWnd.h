#pragma once
#include <string>
#include <utility>

#include "saver/SaverWnd.h"

// The run-mode saver: a hidden topmost pop-up over the primary screen that ends on the user's first input.
class CFullScreenWnd : public CSaverWnd {
public:
    explicit CFullScreenWnd(std::string settingsFile, RenderFaults faults = {})
        : CSaverWnd(std::move(settingsFile), faults) {}
    ~CFullScreenWnd() override = default;

    // Tells the system a saver runs and creates the window. On failure the flag is cleared again and the
    // caller still owns the object.
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
    // A button pressed or a key struck: the saver ends.
    void OnEndInput(UINT message, WPARAM wParam, LPARAM lParam);

    // The common end request: ask for the password where enabled, then post WM_CLOSE.
    void RequestEnd();

    DECLARE_MESSAGE_MAP()

private:
    int m_nLastX = -1;
    int m_nLastY = -1;
    bool m_bVerifying = false;
};
