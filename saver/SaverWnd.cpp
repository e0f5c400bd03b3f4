#include "saver/SaverWnd.h"

#include <imm.h>

#include <utility>

BEGIN_MESSAGE_MAP(CSaverWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSaverWnd::CSaverWnd(std::string settingsFile, RenderFaults faults)
    : m_strSettingsFile(std::move(settingsFile)), m_faults(faults) {}

BOOL CSaverWnd::CreateSaverWindow(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT, void*) {
    const char* cls = RegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNCLIENT);
    if (cls == nullptr)
        return FALSE;
    // A window destroyed during its own creation must not delete the object its creator still holds.
    m_bCreating = true;
    BOOL created = CreateEx(exStyle, cls, "", style, rect, parent, 0, nullptr);
    m_bCreating = false;
    return created && m_hWnd != nullptr;
}

int CSaverWnd::OnCreate(LPCREATESTRUCTA) {
    if (Default() == -1)
        return -1;
    ::ImmAssociateContext(m_hWnd, nullptr);
    // Without a render thread the window would stay blank forever: fail the creation instead.
    if (!StartRenderThread())
        return -1;
    return 0;
}

bool CSaverWnd::StartRenderThread() {
    return m_renderThread.Start(RenderRequest{m_hWnd, m_strSettingsFile, m_monitors, m_faults});
}

void CSaverWnd::OnDestroy() {
    StopRenderThread();
    Default();
}

void CSaverWnd::PostNcDestroy() {
    if (!m_bCreating)
        delete this;
}
