#pragma once
#include <windows.h>

#include <atomic>

#include "fw/Wnd.h"

// The surface a render thread draws on; starts that thread with the window and stops it before the window goes.
class CSaverWnd : public CWnd {
public:
    CSaverWnd() = default;
    ~CSaverWnd() override;

    // Creates the window (id and context are accepted and ignored). On failure the caller still owns the object.
    virtual BOOL CreateSaverWindow(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id = 0,
                                   void* context = nullptr);

    // Set to 1 once, when the window is destroyed; the render thread polls it.
    std::atomic<LONG> m_bStopRequested{0};
    // The render thread, started on WM_CREATE and waited on at WM_DESTROY.
    HANDLE m_hRenderThread = nullptr;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()

private:
    bool m_bCreating = false;
};

// Waits for handle without a time limit while still answering messages sent to this thread's windows, so a
// render thread blocked in a call that needs this thread (showing the window) can finish.
void WaitLettingSentMessagesThrough(HANDLE handle);
