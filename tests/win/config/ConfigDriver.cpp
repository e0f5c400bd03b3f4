#include "ConfigDriver.h"

#include <algorithm>
#include <vector>

namespace ct {

std::string Sjis(const char* utf8) {
    int wlen = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(wlen));
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), wlen);
    int len = ::WideCharToMultiByte(932, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(len), '\0');
    ::WideCharToMultiByte(932, 0, wide.data(), -1, out.data(), len, nullptr, nullptr);
    out.resize(static_cast<size_t>(len > 0 ? len - 1 : 0));
    return out;
}

std::string Text(HWND hwnd) {
    char buffer[4096] = {};
    DWORD_PTR got = 0;
    ::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 10000, &got);
    return std::string(buffer);
}

void SetText(HWND hwnd, const std::string& text) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 10000, &ignored);
}

std::string UserSection() {
    char name[64] = {};
    DWORD size = sizeof name;
    ::GetUserNameA(name, &size);
    return name;
}

std::string IniSection(int speed, int spiral, int picture, const std::string& file, unsigned front, unsigned back) {
    char text[8192];
    std::snprintf(text, sizeof text,
                  "[%s]\r\nSpeed=%d\r\nSpiralTime=%d\r\nPictureTime=%d\r\nPictureFile=%s\r\nFrontColor=%d\r\n"
                  "BackColor=%d\r\n",
                  UserSection().c_str(), speed, spiral, picture, file.c_str(), static_cast<int>(front),
                  static_cast<int>(back));
    return text;
}

ProtocolRecorder::ProtocolRecorder(const char* scheme, const std::string& outFile)
    : m_key(std::string(scheme) + "\\shell\\open\\command") {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, m_key.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char value[2048] = {};
        DWORD size = sizeof value - 1;
        if (::RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
            ERROR_SUCCESS) {
            m_hadValue = true;
            m_oldValue = value;
        }
        ::RegCloseKey(key);
    }
    std::string command = "\"" + wt::FromUnixPath(WHORLIX_RECORDER_UNIX_PATH) + "\" \"" + outFile + "\" \"%1\"";
    SetValue(command);
}

ProtocolRecorder::~ProtocolRecorder() {
    if (m_hadValue)
        SetValue(m_oldValue);
    else
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, m_key.c_str());
}

void ProtocolRecorder::SetValue(const std::string& value) {
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, m_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
}

ConfigRun::ConfigRun(Face face) : scr(wt::CopyScrInto(dir)), m_face(face) {}

bool ConfigRun::Open(const std::string& args, const std::string& ini, const std::string& workDir) {
    if (!ini.empty())
        wt::WriteFileBytes(IniPath(), ini);
    std::string cmd = "\"" + scr + "\"" + (args.empty() ? "" : " " + args);
    if (!proc.Start(cmd, workDir))
        return false;
    const std::string title = m_face == Face::English ? "Whorlix Settings" : Sjis("環境設定");
    wt::WaitUntil([&] {
        dlg = wt::FindProcessWindow(proc.Pid(), "#32770", title.c_str());
        return dlg != nullptr;
    });
    // Ready once the initialisation has filled the version box.
    return dlg != nullptr && wt::WaitUntil([&] { return !Text(::GetDlgItem(dlg, 1009)).empty(); });
}

HWND ConfigRun::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(proc.Tid(), &info))
        return nullptr;
    return info.hwndFocus;
}

bool ConfigRun::WaitFocus(HWND hwnd) const {
    return wt::WaitUntil([&] { return Focus() == hwnd; });
}

void ConfigRun::FocusItem(int id) const {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE, SMTO_NORMAL, 10000, &ignored);
}

bool ConfigRun::WaitEnded(DWORD ms) {
    return wt::WaitUntil([&] { return proc.WaitExit(0); }, ms);
}

void ConfigRun::Key(UINT vk) const {
    // Right after a message box or common dialog closes, the focus may not be back yet.
    HWND target = nullptr;
    wt::WaitUntil([&] {
        target = Focus();
        return target != nullptr && (target == dlg || ::IsChild(dlg, target));
    });
    ::PostMessageA(target, WM_KEYDOWN, vk, 1);
    ::PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
}

void ConfigRun::Click(HWND hwnd, int x, int y) {
    ::PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

namespace {
struct OwnedFind {
    DWORD pid;
    HWND exclude;
    std::string title; // empty: any title
    HWND owner;        // null: any owner
    HWND found;
};
BOOL CALLBACK FindOwned(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<OwnedFind*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (pid != f->pid || hwnd == f->exclude || !::IsWindowVisible(hwnd) || std::string(cls) != "#32770")
        return TRUE;
    if (f->owner != nullptr && ::GetWindow(hwnd, GW_OWNER) != f->owner)
        return TRUE;
    if (!f->title.empty() && Text(hwnd) != f->title)
        return TRUE;
    f->found = hwnd;
    return FALSE;
}
HWND FindDialogOf(DWORD pid, HWND exclude, const std::string& title, HWND owner) {
    OwnedFind f{pid, exclude, title, owner, nullptr};
    ::EnumWindows(&FindOwned, reinterpret_cast<LPARAM>(&f));
    return f.found;
}
} // namespace

HWND ConfigRun::WaitMessageBox() const {
    HWND box = nullptr;
    wt::WaitUntil([&] { return (box = FindDialogOf(proc.Pid(), dlg, "whorlix", nullptr)) != nullptr; });
    return box;
}

std::string ConfigRun::MessageText(HWND box) {
    std::string all;
    for (HWND c = ::GetWindow(box, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        char cls[64] = {};
        ::GetClassNameA(c, cls, sizeof cls);
        if (std::string(cls) == "Static")
            all += Text(c);
    }
    return all;
}

bool ConfigRun::Dismiss(HWND box, int id) {
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
    return wt::WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); });
}

HWND ConfigRun::WaitOwnedDialog() const {
    HWND found = nullptr;
    wt::WaitUntil([&] { return (found = FindDialogOf(proc.Pid(), dlg, "", dlg)) != nullptr; });
    return found;
}

COLORREF ConfigRun::ScreenPixel(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

bool ConfigRun::WaitCentreColour(HWND hwnd, COLORREF colour) {
    return wt::WaitUntil([&] {
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        return ScreenPixel(hwnd, rc.right / 2, rc.bottom / 2) == colour;
    });
}

} // namespace ct

namespace ct {

namespace {
// The client area of a window as it shows on the screen, as 32-bit pixels (0x00RRGGBB).
std::vector<DWORD> ScreenPixels(HWND hwnd, int width, int height) {
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    std::vector<uint32_t> pixels = wt::ReadScreenPixels(origin.x, origin.y, width, height);
    return std::vector<DWORD>(pixels.begin(), pixels.end());
}
} // namespace

int CountColour(HWND hwnd, COLORREF colour) {
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    int n = 0;
    for (DWORD p : ScreenPixels(hwnd, rc.right, rc.bottom))
        n += p == wt::Rgb(colour);
    return n;
}

HWND IconControl(HWND parent) {
    for (HWND c = ::GetWindow(parent, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT))
        if ((::GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return c;
    return nullptr;
}

bool ShowsIcon(HWND control, HICON icon, int size) {
    // The icon's corner is transparent: what shows there is the background it is drawn on.
    wt::CDibSurface drawn(size, size);
    drawn.Fill(wt::Rgb(ConfigRun::ScreenPixel(control, 0, 0)));
    ::DrawIconEx(drawn.DC(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<uint32_t> expected = drawn.Pixels();
    std::vector<DWORD> shown = ScreenPixels(control, size, size);
    return std::equal(expected.begin(), expected.end(), shown.begin());
}

LPCSTR MessageBoxIcon(HWND box) {
    HWND iconCtl = IconControl(box);
    const int size = ::GetSystemMetrics(SM_CXICON);
    for (LPCSTR id : {IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK})
        if (iconCtl != nullptr && ShowsIcon(iconCtl, ::LoadIconA(nullptr, id), size))
            return id;
    return nullptr;
}

} // namespace ct
