#include "fw/App.h"

#include <cstdlib>
#include <cstring>

#include "fw/AnsiCodePage.h"
#include "fw/MultiByteText.h"
#include "fw/ResourceLoad.h"
#include "fw/Wnd.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWinApp::CWinApp(const char* appName) {
    if (appName != nullptr)
        m_strAppName = appName;
    g_pApp = this;
}

CWinApp::~CWinApp() {
    std::free(m_pszProfileName);
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::InitFramework(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    if (m_strAppName.empty()) {
        const std::string path = AfxGetModuleFileName(hInstance);
        const size_t separator = FindLastCharacterOf(path, "\\/:", &IsAnsiLeadByte);
        m_strAppName = separator == std::string::npos ? path : path.substr(separator + 1);
        const size_t dot = FindLastCharacterOf(m_strAppName, ".", &IsAnsiLeadByte);
        if (dot != std::string::npos)
            m_strAppName.resize(dot);
    }
    m_pszAppName = m_strAppName.c_str();
    // Until the application says otherwise, profile calls use "<app>.INI" in the Windows folder.
    SetProfileName((m_strAppName + ".INI").c_str());
}

void CWinApp::SetProfileName(const char* path) {
    std::free(m_pszProfileName);
    m_pszProfileName = static_cast<char*>(std::malloc(std::strlen(path) + 1));
    if (m_pszProfileName != nullptr)
        std::strcpy(m_pszProfileName, path);
}

int CWinApp::Run() {
    MSG msg{};
    while (CWnd::PumpMessage(nullptr, msg)) {
    }
    return static_cast<int>(msg.wParam);
}

int AfxMessageBox(const char* text, UINT type) {
    CWinApp* app = AfxGetApp();
    const char* caption = app != nullptr ? app->m_pszAppName : nullptr;
    HWND owner = ::GetActiveWindow();
    return ::MessageBoxA(owner, text, caption, type);
}

std::string AfxGetModuleFileName(HMODULE module) {
    // A result that fills the whole buffer may have been cut: read again with a larger one.
    for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
        std::string path(size, '\0');
        const DWORD length = ::GetModuleFileNameA(module, path.data(), size);
        if (length == 0)
            return std::string();
        if (length < size) {
            path.resize(length);
            return path;
        }
    }
    return std::string();
}

std::string AfxLoadString(UINT id, LANGID lang) {
    return LoadStringIn(::GetModuleHandleA(nullptr), id, lang);
}

std::string AfxFormatString1(const std::string& format, const std::string& arg1) {
    return AfxFormatString2(format, arg1, "%2");
}

std::string AfxFormatString2(const std::string& format, const std::string& arg1, const std::string& arg2) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == '1' || format[i + 1] == '2')) {
            out += format[i + 1] == '1' ? arg1 : arg2;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

int AfxWinMain(HINSTANCE hInstance) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    app->InitFramework(hInstance);
    if (!app->InitInstance())
        return 0;
    return app->Run();
}
