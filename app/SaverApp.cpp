#include "app/SaverApp.h"

#include <commctrl.h>

#include "app/CommandLine.h"
#include "config/SettingsDlg.h"
#include "saver/FullScreenWnd.h"
#include "saver/SaverPassword.h"
#include "settings/SaverSettings.h"

CSaverApp theApp;

namespace {

bool IsLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

HWND HandleFromCommandLine(int32_t value) {
    // Handles are 32-bit values even in a 64-bit process; sign-extend as the system does.
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
}

} // namespace

BOOL CSaverApp::InitInstance() {
    // The one place that decides where the settings live; every window and dialog is handed this path.
    const std::string settingsFile = SettingsPathFromModule(AfxGetModuleFileName(nullptr), &IsLeadByte);
    SetProfileName(settingsFile.c_str());

    ModeRequest request = DispatchCommandLine(__argc, __argv);
    HWND handle = HandleFromCommandLine(request.handle);
    switch (request.mode) {
    case SaverMode::Configure: {
        ::InitCommonControls();
        // A handle that names no window (or 0) means no owner: the dialog is then top-level.
        CSettingsDlg dlg(handle != nullptr && ::IsWindow(handle) ? handle : nullptr, settingsFile);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
    case SaverMode::Preview: {
        // A missing handle, 0 or a handle that names no window: nothing to draw into, end quietly.
        if (handle == nullptr || !::IsWindow(handle))
            return FALSE;
        RECT client{};
        ::GetClientRect(handle, &client);
        CSaverWnd* wnd = new CSaverWnd(settingsFile);
        RECT rect{0, 0, client.right, client.bottom};
        if (!wnd->CreateSaverWindow(0, WS_CHILD | WS_VISIBLE, rect, handle)) {
            delete wnd;
            return FALSE;
        }
        m_pMainWnd = wnd;
        return TRUE;
    }
    case SaverMode::Run: {
        CFullScreenWnd* wnd = new CFullScreenWnd(settingsFile);
        if (!wnd->CreateFullScreen()) {
            delete wnd;
            return FALSE;
        }
        m_pMainWnd = wnd;
        return TRUE;
    }
    case SaverMode::ChangePassword: {
        if (handle == nullptr || !::IsWindow(handle))
            return FALSE;
        CSaverPassword password;
        password.ChangePassword(handle);
        return FALSE;
    }
    case SaverMode::None:
        break;
    }
    return FALSE;
}
