// Test double of the system's network provider router, loaded as "mpr.dll" (with a native override):
// PwdChangePasswordA logs its arguments to "mpr.log" beside the double and shows nothing.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
HMODULE g_self = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD a, LPVOID b) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(g_self, path, MAX_PATH);
    std::string p = path;
    p = p.substr(0, p.find_last_of('\\') + 1) + "mpr.log";
    if (FILE* log = std::fopen(p.c_str(), "ab")) {
        std::fprintf(log, "%s %lu %lu %p\n", provider ? provider : "(null)",
                     static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)), static_cast<unsigned long>(a), b);
        std::fclose(log);
    }
    return 0;
}
