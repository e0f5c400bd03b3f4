#pragma once
// Helpers for the Windows integration tests: temporary folders, the real saver as a process, polling waits.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fw/Gdi.h"

namespace wt {

// Windows path of the whorlix.scr this build produced.
std::string ScrPath();
// Windows paths of the test doubles of the password services ("password.cpl", "mpr.dll").
std::string PasswordDoublePath();
std::string MprDoublePath();
// The double whose DllMain records each load in "<its own path>.loaded": planted where DLLs must not come from.
std::string PlantedDoublePath();
// The prefix's system folder, where Windows keeps its DLLs and the only place the saver may load them from.
std::string SystemFolder();

// A file copied into the system folder as name for the life of the object; a file already there is kept aside
// and put back afterwards (also one a crashed earlier run left aside).
class CSystemFileStandIn {
public:
    CSystemFileStandIn(const std::string& source, const std::string& name);
    ~CSystemFileStandIn();
    CSystemFileStandIn(const CSystemFileStandIn&) = delete;
    CSystemFileStandIn& operator=(const CSystemFileStandIn&) = delete;

private:
    std::string m_path;
    std::string m_aside;
};

// Wine's "native first" rule for the named DLLs, for the saver's process only, for the life of the object. Windows
// itself takes a DLL of that name from the program's folder before its own copy; Wine, unless told, takes its own.
class CNativeFirstForSaver {
public:
    explicit CNativeFirstForSaver(const std::vector<std::string>& dlls);
    ~CNativeFirstForSaver();
    CNativeFirstForSaver(const CNativeFirstForSaver&) = delete;
    CNativeFirstForSaver& operator=(const CNativeFirstForSaver&) = delete;
};

// A Unix path of the build as the program sees it (drive Z:).
std::string FromUnixPath(const char* unixPath);

// A fresh folder under the temporary folder, removed with everything in it. Throws when none can be created.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

void RemoveTree(const std::string& path);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Copies the built saver into dir (so its INI is private to the test) and returns the copy's path.
std::string CopyScrInto(const TempDir& dir, const std::string& name = "whorlix.scr");

// A child process started by a test; killed on destruction if still running.
class Process {
public:
    Process() = default;
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // commandLine as CreateProcessA takes it; extraEnv entries "NAME=value" are added to this environment.
    bool Start(const std::string& commandLine, const std::string& workDir = "",
               const std::vector<std::string>& extraEnv = {});
    // Waits up to timeoutMs for the exit; true with its code when it ended.
    bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool IsRunning() const;
    void Kill();
    DWORD Pid() const { return m_pi.dwProcessId; }
    DWORD Tid() const { return m_pi.dwThreadId; }
    HANDLE Handle() const { return m_pi.hProcess; }

private:
    // Ends the process if it still runs and closes its handles.
    void Close();
    PROCESS_INFORMATION m_pi{};
};

// Polls cond every few milliseconds (pumping this thread's messages) until it holds or timeoutMs passes.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs = 30000);

// Pumps this thread's pending messages once.
void PumpMessages();

// A visible top-level window of process pid whose class (and title, if given) match; null when none.
HWND FindProcessWindow(DWORD pid, const char* className = nullptr, const char* title = nullptr);

// Delivers to window of process pid what Windows sends it when the console display state changes (0 off, 1 on,
// 2 dimmed): WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, the setting in the receiving process. True once answered.
bool SendDisplayState(HWND window, DWORD pid, DWORD state);

// A visible pop-up of this thread that the saver's modes can be given as their owner or host.
HWND MakeOwnerWindow();
// A window handle as the saver's command line takes it (decimal).
std::string HandleArg(HWND hwnd);

// Sets HKCU "Control Panel\desktop" "ScreenSaveUsePassword" to raw bytes of a type, or deletes it (type 0).
void SetPasswordFlag(DWORD type, const void* data, DWORD size);

// A memory device context with a 32-bit top-down DIB section selected: pixels as 0x00RRGGBB.
class CDibSurface {
public:
    CDibSurface(int w, int h);
    ~CDibSurface();
    CDibSurface(const CDibSurface&) = delete;
    CDibSurface& operator=(const CDibSurface&) = delete;
    HDC DC() const { return m_hDC; }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    uint32_t Pixel(int x, int y) const { return m_bits[static_cast<size_t>(y) * m_w + x] & 0xFFFFFF; }
    std::vector<uint32_t> Pixels() const;
    void Fill(uint32_t rgb);

private:
    int m_w, m_h;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    uint32_t* m_bits = nullptr;
};

// What the screen shows in the w x h rectangle at (x, y), as 0x00RRGGBB pixels.
std::vector<uint32_t> ReadScreenPixels(int x, int y, int w, int h);

// COLORREF (red in the low byte) as the 0x00RRGGBB of a DIB pixel.
inline uint32_t Rgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

} // namespace wt
