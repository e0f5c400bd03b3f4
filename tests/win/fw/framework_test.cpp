// The framework's own behaviour on real windows: map lookup and chaining, default processing, reflection,
// subclassing, self-deletion after the last message, and the modal loop's pre-translation.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "fw/App.h"
#include "fw/Dialog.h"
#include "fw/Gdi.h"
#include "fw/Static.h"
#include "fw/Wnd.h"

namespace {

std::vector<std::string> g_log;

class CBaseProbe : public CWnd {
public:
    int OnCreate(LPCREATESTRUCTA) {
        g_log.push_back("base:create");
        return static_cast<int>(Default());
    }
    void OnKeyDown(UINT vk, UINT, UINT) { g_log.push_back("base:key" + std::to_string(vk)); }
    void OnLButtonDown(UINT, POINT pt) { g_log.push_back("base:lbutton" + std::to_string(pt.x)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
ON_WM_CREATE()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// Overrides one handler of its base; everything else must still reach the base's table.
class CDerivedProbe : public CBaseProbe {
public:
    bool* m_pDeleted = nullptr;
    ~CDerivedProbe() override {
        if (m_pDeleted)
            *m_pDeleted = true;
    }
    void OnKeyDown(UINT vk, UINT, UINT) { g_log.push_back("derived:key" + std::to_string(vk)); }
    LRESULT OnUser(WPARAM w, LPARAM l) { return static_cast<LRESULT>(w + l); }
    void OnSetFocus(HWND) { g_log.push_back("derived:setfocus"); }
    void OnOtherInput(UINT msg, WPARAM w, LPARAM) {
        g_log.push_back("derived:other" + std::to_string(msg) + "/" + std::to_string(w));
    }

protected:
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDerivedProbe, CBaseProbe)
ON_WM_KEYDOWN()
ON_MESSAGE(WM_USER + 5, OnUser)
ON_MESSAGES(OnOtherInput, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_SYSKEYDOWN)
END_MESSAGE_MAP()

HWND CreateProbe(CWnd* wnd, DWORD style = WS_POPUP) {
    const char* cls = CWnd::RegisterWndClass(CS_DBLCLKS);
    RECT rc{0, 0, 100, 80};
    EXPECT_TRUE(wnd->CreateEx(0, cls, "probe", style, rc, nullptr, 0));
    return wnd->m_hWnd;
}

} // namespace

TEST(MessageMap, DerivedEntriesWinAndMissingOnesChainToTheBase) {
    g_log.clear();
    bool deleted = false;
    auto* probe = new CDerivedProbe;
    probe->m_pDeleted = &deleted;
    HWND hwnd = CreateProbe(probe);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), probe);
    ::SendMessageA(hwnd, WM_KEYDOWN, 'A', 0);
    ::SendMessageA(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(7, 9));
    EXPECT_EQ(::SendMessageA(hwnd, WM_USER + 5, 40, 2), 42);
    // One entry for several messages: each listed one reaches the handler with its number, a neighbour does not.
    for (UINT msg : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_SYSKEYDOWN})
        ::SendMessageA(hwnd, msg, 1, 0);
    // An unmapped message takes default processing: WM_GETTEXT answers the title.
    char text[16] = {};
    ::SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "probe");
    std::vector<std::string> expected{"base:create",        "derived:key65",      "base:lbutton7",
                                      "derived:other516/1", "derived:other519/1", "derived:other260/1"};
    EXPECT_EQ(g_log, expected);

    // The heap object deletes itself after its last message and is unbound from the handle.
    EXPECT_FALSE(deleted);
    ::DestroyWindow(hwnd);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

namespace {
class CFailing : public CWnd {
public:
    explicit CFailing(bool throws) : m_bThrows(throws) {}
    int OnCreate(LPCREATESTRUCTA) {
        if (m_bThrows)
            throw std::runtime_error("create handler failed");
        return -1;
    }
    DECLARE_MESSAGE_MAP()

private:
    bool m_bThrows;
};
} // namespace
BEGIN_MESSAGE_MAP(CFailing, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(MessageMap, CreateFailingOrThrowingInTheHandlerFailsTheWindow) {
    for (bool throws : {false, true}) {
        SCOPED_TRACE(throws ? "throws" : "returns -1");
        CFailing failing(throws);
        const char* cls = CWnd::RegisterWndClass(0);
        RECT rc{0, 0, 10, 10};
        EXPECT_FALSE(failing.CreateEx(0, cls, "", WS_POPUP, rc, nullptr, 0));
        EXPECT_EQ(failing.m_hWnd, nullptr);
    }
}

namespace {

// A static control that answers its own colour and click notifications.
class CReflectingStatic : public CStatic {
public:
    int m_nClicks = 0;
    CBrush m_brush{RGB(1, 2, 3)};
    HBRUSH CtlColor(HDC dc, UINT) {
        ::SetTextColor(dc, RGB(200, 0, 0));
        return m_brush;
    }
    void OnClicked() { ++m_nClicks; }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
            ++m_nEnters;
            return TRUE;
        }
        return FALSE;
    }
    int m_nEnters = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingStatic, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CParentProbe : public CWnd {
public:
    int m_nParentClicks = 0;
    void OnChildClicked() { ++m_nParentClicks; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParentProbe, CWnd)
ON_CONTROL(STN_CLICKED, 77, OnChildClicked)
END_MESSAGE_MAP()

} // namespace

TEST(Reflection, ControlNotificationsGoBackToTheSubclassedControlFirst) {
    CParentProbe parent;
    const char* cls = CWnd::RegisterWndClass(0);
    RECT rc{0, 0, 200, 100};
    ASSERT_TRUE(parent.CreateEx(0, cls, "parent", WS_POPUP, rc, nullptr, 0));
    HWND child = ::CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 50, 20, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(77), nullptr, nullptr);
    HWND other = ::CreateWindowExA(0, "STATIC", "y", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 30, 50, 20, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(78), nullptr, nullptr);
    CReflectingStatic label;
    ASSERT_TRUE(label.SubclassWindow(child));
    EXPECT_FALSE(label.SubclassWindow(other)); // one window per object

    // WM_CTLCOLORSTATIC: the control's brush comes back through the parent.
    HDC dc = ::GetDC(child);
    LRESULT brush =
        ::SendMessageA(parent.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), label.m_brush.GetSafeHandle());
    EXPECT_EQ(::GetTextColor(dc), RGB(200, 0, 0));
    ::ReleaseDC(child, dc);

    // STN_CLICKED from the subclassed control is handled by the control; the parent's entry does not run.
    ::SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(77, STN_CLICKED), reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(label.m_nClicks, 1);
    EXPECT_EQ(parent.m_nParentClicks, 0);

    // Unsubclassing restores the control's own procedure; notifications then reach the parent's map.
    label.UnsubclassWindow();
    ::SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(77, STN_CLICKED), reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(label.m_nClicks, 1);
    EXPECT_EQ(parent.m_nParentClicks, 1);
    parent.DestroyWindow();
}

namespace {

// An edit that swallows Enter before the dialog manager sees it, while m_bSwallow is set.
class CEnterEdit : public CWnd {
public:
    int m_nEnters = 0;
    bool m_bSwallow = true;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_bSwallow) {
            ++m_nEnters;
            return TRUE;
        }
        return FALSE;
    }
};

// Dialog 500 of this test program: edit 100, OK, Cancel.
class CTestDlg : public CDialog {
public:
    explicit CTestDlg(HWND owner) : CDialog(500, owner) {}
    using CDialog::m_nIDTemplate;
    int m_nValue = 5;
    CEnterEdit m_edit;
    std::function<void(CTestDlg*)> m_onInit;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, 100, m_edit);
        DDX_Text(dx, 100, m_nValue);
        DDV_MinMaxInt(dx, m_nValue, 1, 9);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(this);
        return TRUE;
    }
};

// Closes the first message box of this process that appears, remembering its text.
class CMessageBoxCloser {
public:
    CMessageBoxCloser() { m_thread = ::CreateThread(nullptr, 0, &Proc, this, 0, nullptr); }
    ~CMessageBoxCloser() {
        m_stop = true;
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
    }
    std::string m_text;
    std::string m_caption;
    // Receives WM_APP + 1 once the box has been answered.
    volatile HWND m_hNotify = nullptr;

private:
    static DWORD WINAPI Proc(LPVOID p) {
        auto* self = static_cast<CMessageBoxCloser*>(p);
        while (!self->m_stop) {
            HWND box = wt::FindProcessWindow(::GetCurrentProcessId(), "#32770", nullptr);
            // The message box is the dialog with a static text 0xFFFF; our test dialog has edit 100.
            if (box != nullptr && ::GetDlgItem(box, 100) == nullptr) {
                char buf[512] = {};
                ::GetWindowTextA(::GetDlgItem(box, 0xFFFF), buf, sizeof buf);
                self->m_text = buf;
                ::GetWindowTextA(box, buf, sizeof buf);
                self->m_caption = buf;
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                while (::IsWindow(box))
                    ::Sleep(10);
                ::PostMessageA(self->m_hNotify, WM_APP + 1, 0, 0);
                return 0;
            }
            ::Sleep(20);
        }
        return 0;
    }
    HANDLE m_thread;
    volatile bool m_stop = false;
};

} // namespace

TEST(ModalDialog, FocusedControlPreTranslatesKeysBeforeTheDialogManager) {
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                   nullptr);
    CTestDlg dlg(owner);
    bool ownerDisabledWhileOpen = false;
    dlg.m_onInit = [&](CTestDlg* d) {
        ownerDisabledWhileOpen = !::IsWindowEnabled(owner);
        ::SetWindowTextA(d->m_edit.m_hWnd, "7");
        ::SetFocus(d->m_edit.m_hWnd);
        // The first Enter is eaten by the edit's pre-translation; the second reaches the dialog as OK.
        ::PostMessageA(d->m_edit.m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
        ::PostMessageA(d->m_edit.m_hWnd, WM_APP, 0, 0);
    };
    // WM_APP to the edit (seen by a message hook) switches swallowing off and sends the second Enter.
    INT_PTR result = 0;
    {
        // Watch for the marker from a thread message hook installed on this thread.
        static CTestDlg* s_dlg;
        s_dlg = &dlg;
        HHOOK hook = ::SetWindowsHookExA(
            WH_GETMESSAGE,
            [](int code, WPARAM w, LPARAM l) -> LRESULT {
                MSG* m = reinterpret_cast<MSG*>(l);
                if (code >= 0 && w == PM_REMOVE && m->message == WM_APP && m->hwnd == s_dlg->m_edit.m_hWnd) {
                    s_dlg->m_edit.m_bSwallow = false;
                    ::PostMessageA(m->hwnd, WM_KEYDOWN, VK_RETURN, 1);
                }
                return ::CallNextHookEx(nullptr, code, w, l);
            },
            nullptr, ::GetCurrentThreadId());
        result = dlg.DoModal();
        ::UnhookWindowsHookEx(hook);
    }
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.m_edit.m_nEnters, 1);
    EXPECT_EQ(dlg.m_nValue, 7);
    EXPECT_TRUE(ownerDisabledWhileOpen);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

// The framework's application object of this test program (the base name of the module is its name).
struct FrameworkEnvironment : ::testing::Environment {
    void SetUp() override { m_app.InitFramework(::GetModuleHandleA(nullptr)); }
    CWinApp m_app;
};
const auto* const g_env = ::testing::AddGlobalTestEnvironment(new FrameworkEnvironment);

TEST(ModalDialog, FailedExchangeShowsTheMessageFocusesAndSelectsTheEditAndKeepsTheDialogOpen) {
    CTestDlg dlg(nullptr);
    bool focusOnEdit = false;
    DWORD selection = 0;
    int valueAfterFailure = 0;
    CMessageBoxCloser closer;
    dlg.m_onInit = [&](CTestDlg* d) {
        d->m_edit.m_bSwallow = false;
        ::SetWindowTextA(d->m_edit.m_hWnd, "12");
        // OK runs the exchange: 12 is outside 1..9, so the range message appears and the dialog stays.
        closer.m_hNotify = d->m_hWnd;
        ::PostMessageA(d->m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    static CTestDlg* s_dlg;
    static bool* s_focus;
    static DWORD* s_sel;
    static int* s_value;
    s_dlg = &dlg;
    s_focus = &focusOnEdit;
    s_sel = &selection;
    s_value = &valueAfterFailure;
    HHOOK hook = ::SetWindowsHookExA(
        WH_GETMESSAGE,
        [](int code, WPARAM w, LPARAM l) -> LRESULT {
            MSG* m = reinterpret_cast<MSG*>(l);
            if (code >= 0 && w == PM_REMOVE && m->message == WM_APP + 1 && m->hwnd == s_dlg->m_hWnd) {
                *s_focus = ::GetFocus() == s_dlg->m_edit.m_hWnd;
                *s_sel = static_cast<DWORD>(::SendMessageA(s_dlg->m_edit.m_hWnd, EM_GETSEL, 0, 0));
                *s_value = s_dlg->m_nValue;
                ::PostMessageA(m->hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
            return ::CallNextHookEx(nullptr, code, w, l);
        },
        nullptr, ::GetCurrentThreadId());
    INT_PTR result = dlg.DoModal();
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(focusOnEdit);
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 2);  // "12" selected whole
    EXPECT_EQ(valueAfterFailure, 12); // parsed, then refused by the range test
    EXPECT_EQ(closer.m_text, "1 .. 9 only");
    // Message boxes are captioned with the module's base name.
    EXPECT_EQ(closer.m_caption, "win_fw");
}

TEST(ModalDialog, ADialogThatCannotBeCreatedOrInitialisedReturnsMinusOne) {
    CTestDlg missingTemplate(nullptr);
    missingTemplate.m_nIDTemplate = 999;
    EXPECT_EQ(missingTemplate.DoModal(), -1);

    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    CTestDlg throwing(owner);
    throwing.m_onInit = [](CTestDlg*) { throw std::runtime_error("initialisation failed"); };
    EXPECT_EQ(throwing.DoModal(), -1);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

TEST(WindowClass, RegisteredNamesStayPutAsMoreClassesAreRegistered) {
    const char* first = CWnd::RegisterWndClass(CS_HREDRAW | CS_OWNDC);
    ASSERT_NE(first, nullptr);
    const std::string copy = first;
    for (UINT style = 1; style <= 40; ++style)
        ASSERT_NE(CWnd::RegisterWndClass(CS_PARENTDC | (style << 16)), nullptr);
    // The same traits give back the very same name, still intact, and it still creates windows.
    EXPECT_EQ(CWnd::RegisterWndClass(CS_HREDRAW | CS_OWNDC), first);
    EXPECT_EQ(std::string(first), copy);
    HWND hwnd = ::CreateWindowExA(0, first, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    ::DestroyWindow(hwnd);
    // Traits that differ only in the last one, the icon, still make two classes, each with its own icon.
    const HICON icons[] = {::LoadIconA(nullptr, IDI_APPLICATION), ::LoadIconA(nullptr, IDI_HAND)};
    const std::string withFirst = CWnd::RegisterWndClass(0, nullptr, nullptr, icons[0]);
    const char* withSecond = CWnd::RegisterWndClass(0, nullptr, nullptr, icons[1]);
    EXPECT_NE(withFirst, withSecond);
    WNDCLASSA wc{};
    ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), withSecond, &wc));
    EXPECT_EQ(wc.hIcon, icons[1]);
}
