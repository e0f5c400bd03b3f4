// The settings dialog as a screen reader sees it, from a process of its own (this one): every focusable control
// named, the swatches and link labels answering for themselves, and their default actions run without holding the
// caller.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <vector>

#include "ConfigDriver.h"
#include "fw/Handles.h"

using ct::ConfigRun;
using ct::Face;

namespace {

using TextQuestion = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
using NumberQuestion = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, VARIANT*);

VARIANT Self() {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

// A text answer about the object itself, in UTF-8; "(none)" when there is none.
std::string Ask(IAccessible* acc, TextQuestion question) {
    BSTR text = nullptr;
    if ((acc->*question)(Self(), &text) != S_OK || text == nullptr)
        return "(none)";
    const int wide = static_cast<int>(::SysStringLen(text));
    std::string utf8(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, wide, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    ::SysFreeString(text);
    return utf8;
}

long AskNumber(IAccessible* acc, NumberQuestion question) {
    VARIANT answer;
    ::VariantInit(&answer);
    return (acc->*question)(Self(), &answer) == S_OK && answer.vt == VT_I4 ? answer.lVal : -1;
}

// The label Windows names a control after: the first static text before it, unless a group's tab stop comes first.
std::string WindowsLabel(HWND control) {
    for (HWND h = ::GetWindow(control, GW_HWNDPREV); h != nullptr; h = ::GetWindow(h, GW_HWNDPREV)) {
        const LONG style = ::GetWindowLongA(h, GWL_STYLE);
        char cls[16] = {};
        ::GetClassNameA(h, cls, sizeof cls);
        if (_stricmp(cls, "Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT)
            return ct::Text(h);
        if ((style & (WS_GROUP | WS_TABSTOP)) == (WS_GROUP | WS_TABSTOP))
            break;
    }
    return "";
}

// The windows whose value a WinEvent announced as changed, in order.
std::vector<HWND> g_valueChanged;
void CALLBACK OnValueChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        g_valueChanged.push_back(hwnd);
}

constexpr long kButton = ROLE_SYSTEM_PUSHBUTTON, kLink = ROLE_SYSTEM_LINK;
const char kUrl[] = "http://www.example.jp/whorlix/";
const char kMail[] = "mailto:support@example.jp";

// What each control says. The slider differs from its standard object in its name only (role 0: its other answers
// are not checked).
const struct Row {
    Face face;
    int id;
    long role;
    const char* name;
    const char* value = nullptr;
    const char* description = nullptr;
    const char* action = nullptr;
} kRows[] = {
    {Face::Japanese, 1029, kButton, "色1", "赤 0、緑 0、青 0", "#000000", "押す"},
    {Face::Japanese, 1030, kButton, "色2", "赤 255、緑 255、青 255", "#FFFFFF", "押す"},
    {Face::Japanese, 1021, kLink, kUrl, kUrl, "(none)", "ジャンプ"},
    {Face::Japanese, 1022, kLink, "support@example.jp", kMail, "(none)", "ジャンプ"},
    {Face::Japanese, 1001, 0, "回転速度"},
    {Face::Japanese, 1016, kButton, "参照", "(none)", "(none)", "押す"},
    {Face::English, 1029, kButton, "Colors 1", "red 0, green 0, blue 0", "#000000", "Press"},
    {Face::English, 1030, kButton, "Colors 2", "red 255, green 255, blue 255", "#FFFFFF", "Press"},
    {Face::English, 1021, kLink, kUrl, kUrl, "(none)", "Jump"},
    {Face::English, 1022, kLink, "support@example.jp", kMail, "(none)", "Jump"},
    {Face::English, 1001, 0, "Speed"},
    {Face::English, 1016, kButton, "Browse", "(none)", "(none)", "Press"},
};

} // namespace

TEST(SettingsDialogAccessibility, EachControlAnswersAScreenReaderAndItsDefaultActionReturnsAtOnce) {
    // win.config runs the Japanese rows; win.config_english, under a Western code page, the English ones.
    const Face face = ::GetACP() == 932 ? Face::Japanese : Face::English;
    const char* chosen = face == Face::Japanese ? "赤 18、緑 52、青 86" : "red 18, green 52, blue 86";
    ConfigRun run(face);
    const std::string record = run.dir.File("opened.txt");
    const ct::ProtocolRecorder mailto("mailto", record), http("http", record);
    // oleacc.dll is none of the system's known DLLs: one beside the program must not be the one loaded.
    const wt::CNativeFirstForSaver nativeFirst({"oleacc"});
    ASSERT_TRUE(::CopyFileA(wt::PlantedDoublePath().c_str(), run.dir.File("oleacc.dll").c_str(), FALSE));
    ASSERT_TRUE(run.Open("/c"));
    const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                                 &OnValueChange, run.proc.Pid(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);

    // Every control a person can tab to has a name; an edit's comes from the label just before it.
    for (HWND c = ::GetWindow(run.dlg, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) == 0)
            continue;
        SCOPED_TRACE(::GetDlgCtrlID(c));
        CComPtr<IAccessible> acc;
        ASSERT_EQ(::AccessibleObjectFromWindow(c, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc)),
                  S_OK);
        EXPECT_NE(Ask(acc.Get(), &IAccessible::get_accName), "(none)");
        char cls[16] = {};
        ::GetClassNameA(c, cls, sizeof cls);
        if (_stricmp(cls, "Edit") == 0) {
            EXPECT_NE(WindowsLabel(c), "");
        }
    }

    std::string opened;
    for (const Row& row : kRows) {
        if (row.face != face)
            continue;
        SCOPED_TRACE(row.id);
        CComPtr<IAccessible> acc;
        ASSERT_EQ(::AccessibleObjectFromWindow(run.Item(row.id), OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&acc)),
                  S_OK);
        EXPECT_EQ(Ask(acc.Get(), &IAccessible::get_accName), row.name);
        if (row.role == 0)
            continue;
        EXPECT_EQ(AskNumber(acc.Get(), &IAccessible::get_accRole), row.role);
        EXPECT_EQ(Ask(acc.Get(), &IAccessible::get_accValue), row.value);
        EXPECT_EQ(Ask(acc.Get(), &IAccessible::get_accDescription), row.description);
        EXPECT_EQ(Ask(acc.Get(), &IAccessible::get_accDefaultAction), row.action);
        const long linked = row.role == kLink ? STATE_SYSTEM_LINKED : 0;
        EXPECT_EQ(AskNumber(acc.Get(), &IAccessible::get_accState) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED),
                  STATE_SYSTEM_FOCUSABLE | linked);

        // The call returns before its work is done: a colour dialog that it opened is still open afterwards.
        ASSERT_EQ(acc->accDoDefaultAction(Self()), S_OK);
        if (row.role == kLink) {
            opened += std::string(row.value) + "\n";
            EXPECT_TRUE(wt::WaitUntil([&] { return wt::ReadFileBytes(record) == opened; }))
                << wt::ReadFileBytes(record);
            continue;
        }
        HWND colourDlg = run.WaitOwnedDialog();
        ASSERT_NE(colourDlg, nullptr);
        if (row.id == 1016) { // the file dialog
            ASSERT_TRUE(ConfigRun::Dismiss(colourDlg, IDCANCEL));
            continue;
        }
        ct::SetText(::GetDlgItem(colourDlg, 706), "18");
        ct::SetText(::GetDlgItem(colourDlg, 707), "52");
        ct::SetText(::GetDlgItem(colourDlg, 708), "86");
        ASSERT_TRUE(ConfigRun::Dismiss(colourDlg));
        EXPECT_TRUE(wt::WaitUntil([&] { return Ask(acc.Get(), &IAccessible::get_accValue) == chosen; }));
        // ... and announced.
        EXPECT_TRUE(
            wt::WaitUntil([&] { return !g_valueChanged.empty() && g_valueChanged.back() == run.Item(row.id); }));
        EXPECT_EQ(Ask(acc.Get(), &IAccessible::get_accDescription), "#123456");
    }

    ::UnhookWinEvent(hook);
    run.Key(VK_ESCAPE);
    ASSERT_TRUE(run.WaitEnded());
    // Each link was opened once, and the planted DLL never ran.
    EXPECT_EQ(wt::ReadFileBytes(record), opened);
    EXPECT_FALSE(wt::FileExists(run.dir.File("oleacc.dll.loaded")));
}
