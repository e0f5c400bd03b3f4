#pragma once
#include <windows.h>

#include <string>

class CWnd;

// The one application object: start-up hook, message loop, main window and profile file of the process.
class CWinApp {
public:
    HINSTANCE m_hInstance = nullptr;
    // The module's base name (no folder, no extension): also the caption of the framework's message boxes.
    const char* m_pszAppName = nullptr;
    // Heap string (malloc) naming the file used by every profile read and write; may be replaced by the app.
    char* m_pszProfileName = nullptr;
    // The window whose destruction ends the message loop.
    CWnd* m_pMainWnd = nullptr;

    explicit CWinApp(const char* appName = nullptr);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // The application's one hook: called once after the framework's own set-up; FALSE ends the program, TRUE runs
    // the message loop.
    virtual BOOL InitInstance() { return FALSE; }
    // The message loop; returns the quit request's value.
    int Run();

    // Module handle, application name and default profile name; called by the entry point.
    void InitFramework(HINSTANCE hInstance);
    // Replaces the profile file name with a heap copy of path.
    void SetProfileName(const char* path);

private:
    std::string m_strAppName;
};

CWinApp* AfxGetApp();

// A message box captioned with the application name.
int AfxMessageBox(const char* text, UINT type = MB_OK);

// The full path of a module (null: the program's own), however long; empty when it cannot be read.
std::string AfxGetModuleFileName(HMODULE module);

// Loads string resource id of the main module in lang (neutral: the system's choice); empty when missing.
std::string AfxLoadString(UINT id, LANGID lang = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
// Replaces %1 in a format text.
std::string AfxFormatString1(const std::string& format, const std::string& arg1);
// Replaces %1 and %2 in a format text.
std::string AfxFormatString2(const std::string& format, const std::string& arg1, const std::string& arg2);

// The entry point's body: sets up the application object, runs InitInstance and, if asked, the message loop.
int AfxWinMain(HINSTANCE hInstance);
