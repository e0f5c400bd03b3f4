#include "saver/SaverWnd.h"

#include <imm.h>

#include "render/RenderThread.h"

BEGIN_MESSAGE_MAP(CSaverWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSaverWnd::~CSaverWnd() {
    if (m_hRenderThread != nullptr)
        ::CloseHandle(m_hRenderThread);
}

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
    DWORD threadId = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, &RenderThreadProc, this, CREATE_SUSPENDED, &threadId);
    // Without a render thread the window would stay blank forever: fail the creation instead.
    if (thread == nullptr)
        return -1;
    ::SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    // The handle is ours until the destructor closes it, so the wait below always has a valid handle.
    m_hRenderThread = thread;
    ::ResumeThread(thread);
    return 0;
}

void CSaverWnd::OnDestroy() {
    m_bStopRequested.store(1);
    if (m_hRenderThread != nullptr)
        WaitLettingSentMessagesThrough(m_hRenderThread);
    Default();
}

void CSaverWnd::PostNcDestroy() {
    if (!m_bCreating)
        delete this;
}

void WaitLettingSentMessagesThrough(HANDLE handle) {
    for (;;) {
        DWORD rc = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (rc != WAIT_OBJECT_0 + 1)
            return; // the thread ended (or the handle is unusable: nothing left to wait for)
        MSG msg;
        // Peeking delivers pending sent messages; posted messages stay queued for the message loop.
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
