#pragma once
#include <windows.h>

#include <string>

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
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()

private:
    const std::string m_strSettingsFile;
    const RenderFaults m_faults;
    // Started on WM_CREATE and joined at WM_DESTROY.
    CRenderThread m_renderThread;
    bool m_bCreating = false;
};
