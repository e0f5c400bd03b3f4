// Test double of the system's screen-saver password verifier, loaded by name as "password.cpl".
// Its answer comes from "password.answer" beside it ('1' proves the password); every call is logged to
// "password.log" beside it. While verifying it runs a message loop, as the system's modal prompt does.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
HMODULE g_self = nullptr;

std::string Beside(const char* name) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(g_self, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + name;
}
} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
    if (FILE* log = std::fopen(Beside("password.log").c_str(), "ab")) {
        std::fprintf(log, "verify %p\n", static_cast<void*>(owner));
        std::fclose(log);
    }
    // A modal prompt keeps the owner's thread answering messages until the user has answered.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    char answer = '0';
    if (FILE* f = std::fopen(Beside("password.answer").c_str(), "r")) {
        answer = static_cast<char>(std::fgetc(f));
        std::fclose(f);
    }
    return answer == '1';
}
