#include "TestSupport.h"

#include "fw/Handles.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "render/picture/PictureFile.h"

namespace wt {

namespace {
// Windows requires a thread to enter a COM apartment before it uses COM, and the saver's picture code refuses to
// decode without one; the tests draw pictures on their main thread.
const CComApartment g_mainThreadApartment;
} // namespace

std::string FromUnixPath(const char* unixPath) {
    // The build runs on Linux; Wine shows the Unix root as drive Z:.
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string ScrPath() {
    return FromUnixPath(WHORLIX_SCR_UNIX_PATH);
}
std::string PasswordDoublePath() {
    return FromUnixPath(WHORLIX_PASSWORD_DOUBLE_UNIX_PATH);
}
std::string MprDoublePath() {
    return FromUnixPath(WHORLIX_MPR_DOUBLE_UNIX_PATH);
}
std::string PlantedDoublePath() {
    return FromUnixPath(WHORLIX_PLANTED_DOUBLE_UNIX_PATH);
}

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

CSystemFileStandIn::CSystemFileStandIn(const std::string& source, const std::string& name)
    : m_path(SystemFolder() + "\\" + name), m_aside(m_path + ".whorlix-aside") {
    if (FileExists(m_aside))
        ::MoveFileExA(m_aside.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!FileExists(m_path) || !::MoveFileA(m_path.c_str(), m_aside.c_str()))
        m_aside.clear();
    ::CopyFileA(source.c_str(), m_path.c_str(), FALSE);
}

CSystemFileStandIn::~CSystemFileStandIn() {
    if (m_aside.empty())
        ::DeleteFileA(m_path.c_str());
    else
        ::MoveFileExA(m_aside.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

namespace {
const char kSaverOverrides[] = "Software\\Wine\\AppDefaults\\whorlix.scr\\DllOverrides";
}

CNativeFirstForSaver::CNativeFirstForSaver(const std::vector<std::string>& dlls) {
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSaverOverrides, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const std::string& dll : dlls)
        ::RegSetValueExA(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    ::RegCloseKey(key);
}

CNativeFirstForSaver::~CNativeFirstForSaver() {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kSaverOverrides);
}

TempDir::TempDir() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    // A name can be taken by a leftover folder; a temporary folder that cannot be written fails every time.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%swhx%lu_%u_%lu", base, ::GetCurrentProcessId(), counter++, ::GetTickCount());
        if (::CreateDirectoryA(name, nullptr)) {
            m_path = name;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    throw std::runtime_error(std::string("cannot create a temporary folder under ") + base);
}

TempDir::~TempDir() {
    RemoveTree(m_path);
}

void RemoveTree(const std::string& path) {
    // By wide names, so that names the ANSI code page cannot spell go too.
    std::error_code ignored;
    std::filesystem::remove_all(WidePath(path), ignored);
}

std::string ReadFileBytes(const std::string& path) {
    std::string out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return out;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        out.append(buffer, n);
    std::fclose(f);
    return out;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CopyScrInto(const TempDir& dir, const std::string& name) {
    std::string target = dir.File(name);
    ::CopyFileA(ScrPath().c_str(), target.c_str(), FALSE);
    return target;
}

Process::~Process() {
    Close();
}

void Process::Close() {
    Kill();
    if (m_pi.hProcess)
        ::CloseHandle(m_pi.hProcess);
    if (m_pi.hThread)
        ::CloseHandle(m_pi.hThread);
    m_pi = {};
}

Process::Process(Process&& other) noexcept : m_pi(std::exchange(other.m_pi, {})) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Close();
        m_pi = std::exchange(other.m_pi, {});
    }
    return *this;
}

bool Process::Start(const std::string& commandLine, const std::string& workDir,
                    const std::vector<std::string>& extraEnv) {
    std::string env;
    if (!extraEnv.empty()) {
        // Variables named in extraEnv replace this process's own values.
        auto overridden = [&](const char* entry) {
            for (const std::string& e : extraEnv) {
                size_t eq = e.find('=');
                if (_strnicmp(entry, e.c_str(), eq + 1) == 0)
                    return true;
            }
            return false;
        };
        char* block = ::GetEnvironmentStringsA();
        for (const char* p = block; *p != '\0'; p += std::strlen(p) + 1)
            if (!overridden(p))
                env.append(p, std::strlen(p) + 1);
        ::FreeEnvironmentStringsA(block);
        for (const std::string& e : extraEnv)
            env.append(e.c_str(), e.size() + 1);
        env.push_back('\0');
    }
    STARTUPINFOA si{};
    si.cb = sizeof si;
    // Wine's process start fails now and then in a full, loaded run, before the program's first instruction (the
    // config and preview tests have each seen it once, not again in dozens of runs); a later attempt then starts it.
    // A failure every time is still a failure, and each one is printed.
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (attempt > 1)
            ::Sleep(500);
        std::string cmd = commandLine;
        if (::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, env.empty() ? nullptr : env.data(),
                             workDir.empty() ? nullptr : workDir.c_str(), &si, &m_pi))
            return true;
        std::fprintf(stderr, "CreateProcess failed with error %lu (attempt %d): %s\n", ::GetLastError(), attempt,
                     commandLine.c_str());
    }
    return false;
}

bool Process::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
    if (m_pi.hProcess == nullptr)
        return false;
    if (::WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode != nullptr)
        ::GetExitCodeProcess(m_pi.hProcess, exitCode);
    return true;
}

bool Process::IsRunning() const {
    return m_pi.hProcess != nullptr && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

void Process::Kill() {
    if (IsRunning()) {
        ::TerminateProcess(m_pi.hProcess, 99);
        ::WaitForSingleObject(m_pi.hProcess, 10000);
    }
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (cond())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return cond();
        PumpMessages();
        ::Sleep(10);
    }
}

namespace {
struct FindData {
    DWORD pid;
    const char* cls;
    const char* title;
    HWND found;
};
BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp) {
    auto* d = reinterpret_cast<FindData*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != d->pid || !::IsWindowVisible(hwnd))
        return TRUE;
    char buf[256];
    if (d->cls != nullptr) {
        ::GetClassNameA(hwnd, buf, sizeof buf);
        if (std::strcmp(buf, d->cls) != 0)
            return TRUE;
    }
    if (d->title != nullptr) {
        ::GetWindowTextA(hwnd, buf, sizeof buf);
        if (std::strcmp(buf, d->title) != 0)
            return TRUE;
    }
    d->found = hwnd;
    return FALSE;
}
} // namespace

HWND FindProcessWindow(DWORD pid, const char* className, const char* title) {
    FindData d{pid, className, title, nullptr};
    ::EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

bool SendDisplayState(HWND window, DWORD pid, DWORD state) {
    // The console display state's power setting.
    constexpr GUID kConsoleDisplayState = {
        0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    const CHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
    if (!process.IsValid())
        return false;
    char setting[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
    auto* s = reinterpret_cast<POWERBROADCAST_SETTING*>(setting);
    s->PowerSetting = kConsoleDisplayState;
    s->DataLength = sizeof(DWORD);
    std::memcpy(s->Data, &state, sizeof state);
    void* remote = ::VirtualAllocEx(process.Get(), nullptr, sizeof setting, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote == nullptr)
        return false;
    DWORD_PTR answer = 0;
    const bool sent = ::WriteProcessMemory(process.Get(), remote, setting, sizeof setting, nullptr) &&
                      ::SendMessageTimeoutA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                                            reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 10000, &answer) != 0;
    ::VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return sent;
}

HWND MakeOwnerWindow() {
    return ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr, nullptr,
                             nullptr);
}

std::string HandleArg(HWND hwnd) {
    return std::to_string(static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)));
}

void SetPasswordFlag(DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    if (type == 0)
        ::RegDeleteValueA(key, "ScreenSaveUsePassword");
    else
        ::RegSetValueExA(key, "ScreenSaveUsePassword", 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

CDibSurface::CDibSurface(int w, int h) : m_w(w), m_h(h) {
    BITMAPINFO bi{};
    bi.bmiHeader = TopDownDibHeader(w, h, 32);
    void* bits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_hDC = ::CreateCompatibleDC(nullptr);
    m_hOld = ::SelectObject(m_hDC, m_hBitmap);
}

CDibSurface::~CDibSurface() {
    ::SelectObject(m_hDC, m_hOld);
    ::DeleteDC(m_hDC);
    ::DeleteObject(m_hBitmap);
}

std::vector<uint32_t> CDibSurface::Pixels() const {
    ::GdiFlush();
    std::vector<uint32_t> out(static_cast<size_t>(m_w) * m_h);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = m_bits[i] & 0xFFFFFF;
    return out;
}

void CDibSurface::Fill(uint32_t rgb) {
    ::GdiFlush();
    for (size_t i = 0; i < static_cast<size_t>(m_w) * m_h; ++i)
        m_bits[i] = rgb;
}

std::vector<uint32_t> ReadScreenPixels(int x, int y, int w, int h) {
    CDibSurface copy(w, h);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(copy.DC(), 0, 0, w, h, screen, x, y, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    return copy.Pixels();
}

} // namespace wt
