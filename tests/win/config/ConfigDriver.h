#pragma once
// Drives the real whorlix.scr in configure mode from the test program: finds the settings dialog and its
// controls, posts input to them, finds the message boxes and common dialogs it opens, reads its INI file.
#include <windows.h>

#include <string>

#include "TestSupport.h"

namespace ct {

// A UTF-8 literal in the Japanese ANSI code page, as the saver's windows hold their text.
std::string Sjis(const char* utf8);
// Text of a window of any process (WM_GETTEXT).
std::string Text(HWND hwnd);
void SetText(HWND hwnd, const std::string& text);
// The login name: the saver's INI section.
std::string UserSection();
// The six keys as the dialog writes them into a fresh file.
std::string IniSection(int speed, int spiral, int picture, const std::string& file, unsigned front, unsigned back);

// The face the saver shows: Japanese under the Japanese ANSI code page, English under any other.
enum class Face { Japanese, English };

// One run of whorlix.scr in its own folder (so its INI is private).
class ConfigRun {
public:
    wt::TempDir dir;
    std::string scr;
    wt::Process proc;
    HWND dlg = nullptr;

    // The face the test program's code page makes the saver show (the saver inherits the code page).
    explicit ConfigRun(Face face = Face::Japanese);
    // Writes ini (when not empty) beside the saver copy, starts it with args and waits for the dialog.
    bool Open(const std::string& args = "/c", const std::string& ini = "", const std::string& workDir = "");
    std::string IniPath() const { return dir.File("whorlix.ini"); }
    std::string Ini() const { return wt::ReadFileBytes(IniPath()); }
    bool IniExists() const { return wt::FileExists(IniPath()); }

    HWND Item(int id) const { return ::GetDlgItem(dlg, id); }
    std::string ItemText(int id) const { return Text(Item(id)); }
    // The window with the keyboard focus in the saver's thread.
    HWND Focus() const;
    bool WaitFocus(HWND hwnd) const;
    // Moves the focus the way the dialog manager does for a mnemonic or Tab.
    void FocusItem(int id) const;
    // A key press (down and up) posted to the focused window, once the focus is back in the dialog.
    void Key(UINT vk) const;
    // A left click posted to a window at a point in its client coordinates.
    static void Click(HWND hwnd, int x = 3, int y = 3);

    // The message box of this run (captioned with the saver's base name), or null on timeout.
    HWND WaitMessageBox() const;
    // Every static text of a message box, joined.
    static std::string MessageText(HWND box);
    // Dismisses a message box or common dialog with OK / Cancel, and waits until it has gone.
    static bool Dismiss(HWND box, int id = IDOK);
    // A common dialog (colour, open file) owned by the settings dialog, or null on timeout.
    HWND WaitOwnedDialog() const;

    // Pumps while waiting: an owner window of this thread must answer the saver's messages.
    bool WaitEnded(DWORD ms = 30000);
    bool IsOpen() const { return ::IsWindow(dlg) && ::IsWindowVisible(dlg); }
    // Colour of the screen pixel at a point in a window's client coordinates.
    static COLORREF ScreenPixel(HWND hwnd, int x, int y);
    // Waits until the centre of a window shows colour.
    static bool WaitCentreColour(HWND hwnd, COLORREF colour);

private:
    Face m_face;
};

// Points HKCR\<scheme>\shell\open\command at a recorder for the life of the object, then restores it: the
// recorder appends each target the shell was asked to open, as a line, to outFile.
class ProtocolRecorder {
public:
    ProtocolRecorder(const char* scheme, const std::string& outFile);
    ~ProtocolRecorder();

private:
    void SetValue(const std::string& value);
    std::string m_key;
    bool m_hadValue = false;
    std::string m_oldValue;
};

} // namespace ct

namespace ct {

// Counts the screen pixels of a window's client area that have exactly colour.
int CountColour(HWND hwnd, COLORREF colour);
// The static with the icon style among a window's children, or null.
HWND IconControl(HWND parent);
// Whether a control shows icon drawn at size x size from its top left corner, pixel for pixel.
bool ShowsIcon(HWND control, HICON icon, int size);
// Which standard message-box icon the message box shows: IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION or
// IDI_ASTERISK, judged by comparing its pixels on the screen with each icon drawn here; null if none matches.
LPCSTR MessageBoxIcon(HWND box);

} // namespace ct
