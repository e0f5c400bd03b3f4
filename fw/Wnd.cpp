#include "fw/Wnd.h"

#include <cstdio>
#include <deque>

#include "fw/App.h"
#include "fw/FailureLog.h"

namespace {

// The object is found from its handle through a window property, so no global table needs a lock.
const char kObjectProp[] = "FwWndObject";

// The object being created on this thread: bound to its HWND at the first message the window receives.
thread_local CWnd* t_pWndInit = nullptr;

// What a message answers when its handler failed: creation messages fail the creation, others mean "nothing".
LRESULT FailedMessageResult(UINT msg) {
    if (msg == WM_NCCREATE)
        return FALSE;
    if (msg == WM_CREATE)
        return -1;
    return 0;
}

// Offers msg to every bound window from msg->hwnd up to (and including) stopAt, innermost first.
BOOL WalkPreTranslateTree(HWND stopAt, MSG* msg) {
    for (HWND h = msg->hwnd; h != nullptr; h = ::GetAncestor(h, GA_PARENT)) {
        CWnd* wnd = CWnd::FromHandlePermanent(h);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (h == stopAt || (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD) == 0)
            break;
    }
    return FALSE;
}

} // namespace

std::string WindowText(HWND hWnd) {
    const int length = ::GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(hWnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

CWnd::~CWnd() {
    // A stack or member object whose window outlives it must not leave a dangling binding behind.
    if (m_hWnd != nullptr)
        UnsubclassWindow();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    return static_cast<CWnd*>(::GetPropA(hWnd, kObjectProp));
}

void CWnd::Bind(HWND hWnd) {
    m_hWnd = hWnd;
    ::SetPropA(hWnd, kObjectProp, this);
}

HWND CWnd::Unbind() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
        ::RemovePropA(hWnd, kObjectProp);
    m_hWnd = nullptr;
    return hWnd;
}

const char* CWnd::RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    struct Registered {
        UINT style;
        HCURSOR cursor;
        HBRUSH background;
        HICON icon;
        // "Fw:" and five hexadecimal fields of at most 16 digits each, with their separators: 87 characters at
        // most, whatever padding the C library gives pointers.
        char name[96];
    };
    // A deque keeps every name where it is: callers hold the returned pointer across later registrations.
    static std::deque<Registered> s_classes;
    for (const Registered& r : s_classes)
        if (r.style == classStyle && r.cursor == cursor && r.background == background && r.icon == icon)
            return r.name;

    Registered r{classStyle, cursor, background, icon, {}};
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    std::snprintf(r.name, sizeof r.name, "Fw:%p:%x:%p:%p:%p", static_cast<void*>(hInst), classStyle,
                  static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::StdWndProc;
    wc.hInstance = hInst;
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = r.name;
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    s_classes.push_back(r);
    return s_classes.back().name;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                    HWND parent, UINT id, void* param) {
    CWnd* previous = t_pWndInit;
    t_pWndInit = this;
    HWND hWnd = ::CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  ::GetModuleHandleA(nullptr), param);
    t_pWndInit = previous;
    return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    Bind(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
    PreSubclassWindow();
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper != nullptr && m_hWnd != nullptr)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Unbind();
}

std::string CWnd::GetWindowText() const {
    return WindowText(m_hWnd);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

bool CWnd::PumpMessage(HWND stopAt, MSG& msg) {
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1)
        return false;
    if (!WalkPreTranslateTree(stopAt, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.msg, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The message being handled now, put back on every way out (also when a handler throws).
    struct CurrentMsgScope {
        CurrentMsg& current;
        CurrentMsg saved;
        ~CurrentMsgScope() { current = saved; }
    } scope{m_current, m_current};
    m_current = {msg, wParam, lParam};
    LRESULT result = 0;
    if (!OnWndMsg(msg, wParam, lParam, result))
        result = DefWindowProc(msg, wParam, lParam);
    return result;
}

const MsgMap* CWnd::GetThisMessageMap() {
    static const MsgMapEntry entries[] = {{0, 0, 0, nullptr}};
    static const MsgMap map = {nullptr, entries};
    return &map;
}

const MsgMapEntry* CWnd::FindEntry(const MsgMap* map, UINT msg, UINT code, UINT id) {
    for (; map != nullptr; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const MsgMapEntry* e = map->entries; e->message != 0; ++e) {
            if (e->message != msg)
                continue;
            bool isCommand = msg == WM_COMMAND || msg == WM_REFLECT_BASE + WM_COMMAND;
            if (isCommand && (e->code != code || (e->id != 0 && e->id != id)))
                continue;
            return e;
        }
    }
    return nullptr;
}

bool CWnd::Dispatch(CWnd* wnd, const MsgMap* map, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    UINT code = 0, id = 0;
    if (msg == WM_COMMAND || msg == WM_REFLECT_BASE + WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    }
    const MsgMapEntry* entry = FindEntry(map, msg, code, id);
    return entry != nullptr && entry->handler(wnd, wParam, lParam, result);
}

bool CWnd::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return Dispatch(this, GetMessageMap(), WM_REFLECT_BASE + msg, wParam, lParam, result);
}

bool CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Notifications from a control go back to the control's own object first; each of kReflectedMessages names
    // its sender in lParam.
    const HWND child = IsReflectedMessage(msg) ? reinterpret_cast<HWND>(lParam) : nullptr;
    if (child != nullptr && child != m_hWnd) {
        CWnd* control = FromHandlePermanent(child);
        if (control != nullptr && control->OnChildNotify(msg, wParam, lParam, result))
            return true;
    }
    return Dispatch(this, GetMessageMap(), msg, wParam, lParam, result);
}

void CWnd::OnNcDestroyFinal() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    UnsubclassWindow();
    PostNcDestroy();
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd == nullptr && t_pWndInit != nullptr && t_pWndInit->m_hWnd == nullptr) {
        wnd = t_pWndInit;
        t_pWndInit = nullptr;
        wnd->Bind(hWnd);
    }
    if (wnd == nullptr)
        return ::DefWindowProcA(hWnd, msg, wParam, lParam);

    LRESULT result = 0;
    // No exception may cross into the system's message dispatch. One thrown while the window is being created
    // fails the creation, so no half-built window stays alive.
    try {
        result = wnd->WindowProc(msg, wParam, lParam);
    } catch (...) {
        result = FailedMessageResult(msg);
        LogFailure("exception in window procedure (message 0x%04X): %s", msg, CaughtExceptionText());
    }
    if (msg == WM_NCDESTROY)
        wnd->OnNcDestroyFinal();
    return result;
}
