// display_state STATE: tells the running saver (whorlix.scr /s) that the console display state is now STATE (0 off,
// 1 on, 2 dimmed), as Windows does when the power plan turns the displays off or on. After any state but off it also
// prints how long the screen's centre took to change, that is, until the spiral turned again.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BenchClock.h"
#include "TestSupport.h"

namespace {

DWORD SaverPid() {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD pid = 0;
    for (BOOL more = ::Process32First(snapshot, &entry); more && pid == 0; more = ::Process32Next(snapshot, &entry))
        if (_stricmp(entry.szExeFile, "whorlix.scr") == 0)
            pid = entry.th32ProcessID;
    ::CloseHandle(snapshot);
    return pid;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const DWORD state = static_cast<DWORD>(std::atoi(argv[1]));
    const DWORD pid = SaverPid();
    const HWND window = pid != 0 ? wt::FindProcessWindow(pid) : nullptr;
    if (window == nullptr) {
        std::printf("no running saver\n");
        return 1;
    }
    const int cx = ::GetSystemMetrics(SM_CXSCREEN) / 2 - 32, cy = ::GetSystemMetrics(SM_CYSCREEN) / 2 - 32;
    const std::vector<uint32_t> before = wt::ReadScreenPixels(cx, cy, 64, 64);
    const double sent = NowMs();
    if (!wt::SendDisplayState(window, pid, state)) {
        std::printf("not delivered\n");
        return 1;
    }
    if (state != 0) {
        while (wt::ReadScreenPixels(cx, cy, 64, 64) == before && NowMs() - sent < 10000)
            ::Sleep(1);
        std::printf("%.1f\n", NowMs() - sent);
    }
    return 0;
}
