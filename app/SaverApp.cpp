#include "app/SaverApp.h"

#include <commctrl.h>

#include "app/CommandLine.h"
#include "config/SettingsDlg.h"
#include "fw/AnsiCodePage.h"
#include "fw/FailureLog.h"
#include "saver/FullScreenWnd.h"
#include "saver/SaverPassword.h"
#include "settings/SettingsPath.h"

CSaverApp theApp;

namespace {

// The program is an ANSI program: its Japanese texts show only under the Japanese code page. Everywhere else
// it shows its English face. (The system's user-interface language does not decide this: a Japanese-language
// system may run non-Unicode programs under another code page, and the other way round.)
LANGID UiLanguageForCodePage(UINT ansiCodePage) {
    return ansiCodePage == 932 ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                               : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

HWND HandleFromCommandLine(int32_t value) {
    // Handles are 32-bit values even in a 64-bit process; sign-extend as the system does.
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
}

} // namespace

BOOL CSaverApp::InitInstance() {
    // Before any window or thread that could log: the lines of the failure log name the program.
    SetFailureLogPrefix("whorlix");
    // The one place that decides where the settings live; every window and dialog is handed this path.
    const std::string settingsFile = SettingsPathFromModule(AfxGetModuleFileName(nullptr), &IsAnsiLeadByte);
    SetProfileName(settingsFile.c_str());
    // Likewise the face the program shows, decided once for the whole run.
    const LANGID uiLanguage = UiLanguageForCodePage(::GetACP());

    ModeRequest request = DispatchCommandLine(__argc, __argv);
    HWND handle = HandleFromCommandLine(request.handle);
    switch (request.mode) {
    case SaverMode::Configure: {
        ::InitCommonControls();
        // A handle that names no window (or 0) means no owner: the dialog is then top-level.
        CSettingsDlg dlg(handle != nullptr && ::IsWindow(handle) ? handle : nullptr, settingsFile, uiLanguage);
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
