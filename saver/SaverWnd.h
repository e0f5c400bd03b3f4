#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "fw/Wnd.h"
#include "render/RenderThread.h"

// The surface a render thread draws on; starts that thread with the window and stops it before the window goes.
class CSaverWnd : public CWnd {
public:
    // settingsFile is what the render thread reads its settings from; faults are for tests of the failure
    // paths only.
    explicit CSaverWnd(std::string settingsFile, RenderFaults faults = {});
    ~CSaverWnd() override = default;

    // Creates the window (id and context are accepted and ignored). On failure the caller still owns the object.
    virtual BOOL CreateSaverWindow(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id = 0,
                                   void* context = nullptr);

protected:
    // The monitors the render thread draws on, in client coordinates (none: the whole client area is one); taken
    // by the next start of the render thread.
    void SetMonitors(std::vector<MonitorRect> monitors) { m_monitors = std::move(monitors); }
    // Starts the render thread on the current monitors and client area; false when it cannot be started.
    bool StartRenderThread();
    // Requests the render thread's stop and waits until it has ended; StartRenderThread may follow.
    void StopRenderThread() { m_renderThread.Stop(); }
    // Whether the displays are off (nothing is drawn then), for the running render thread and any started later.
    void SetDisplayState(DisplayState state) { m_renderThread.SetDisplayState(state); }

    int OnCreate(LPCREATESTRUCTA cs);
    // Stops the render thread before the window goes; a subclass that maps WM_DESTROY calls it (its entry hides
    // this one).
    void OnDestroy();
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()

private:
    const std::string m_strSettingsFile;
    const RenderFaults m_faults;
    std::vector<MonitorRect> m_monitors;
    // Started on WM_CREATE and joined at WM_DESTROY.
    CRenderThread m_renderThread;
    bool m_bCreating = false;
};
