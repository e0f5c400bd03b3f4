// What an attacker would leave beside the saver under the name of a DLL it loads: a DLL whose DllMain records
// each load in "<its own path>.loaded". It exports nothing, so a program that took it for a real one would
// also fail to start.
#include <windows.h>

#include <cstdio>
#include <cstring>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH + 8] = {};
        ::GetModuleFileNameA(instance, path, MAX_PATH);
        std::strcat(path, ".loaded");
        if (FILE* marker = std::fopen(path, "ab"))
            std::fclose(marker);
    }
    return TRUE;
}
