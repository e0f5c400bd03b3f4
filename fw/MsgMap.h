#pragma once
// Static per-class message maps. A class declares DECLARE_MESSAGE_MAP() and defines its table with
// BEGIN_MESSAGE_MAP(Class, Base) ... END_MESSAGE_MAP(). Each entry macro names its handler and documents the
// handler's signature.
//
// Lookup: the class's own table first, then its base's, and so on up the chain; the first entry that matches is the
// only one run. So an entry in a derived map hides the base's entry for the same message: the base's handler runs
// only if the derived one calls it (CBase::OnDestroy()); Default() is the system's processing, never the base's
// handler. A base handler whose work its class relies on says so at its declaration: a subclass that maps the same
// message calls it.
#include <windows.h>

class CWnd;

// Returns true when the entry handled the message; the handler's answer goes into result.
using MsgHandler = bool (*)(CWnd* self, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Reflected messages: a parent offers these notifications to the control that sent them (the control's entry is
// WM_REFLECT_BASE + message) before its own map sees them. Only the messages listed in kReflectedMessages are
// offered, each of which names its sender in lParam; the reflecting entry macros refuse any other at compile
// time, since its entry would never fire.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
constexpr UINT kReflectedMessages[] = {WM_COMMAND, WM_CTLCOLORSTATIC};

constexpr bool IsReflectedMessage(UINT msg) {
    for (UINT reflected : kReflectedMessages)
        if (reflected == msg)
            return true;
    return false;
}

// The entry's message for msg reflected back to the control.
template <UINT msg> constexpr UINT ReflectedEntry() {
    static_assert(IsReflectedMessage(msg), "a parent reflects only the messages of kReflectedMessages");
    return WM_REFLECT_BASE + msg;
}

struct MsgMapEntry {
    UINT message; // window message (WM_REFLECT_BASE + message for a reflected one); 0 ends the table
    UINT code;    // notification code, for WM_COMMAND entries
    UINT id;      // control id, for WM_COMMAND entries; 0 matches any sender (reflected entries)
    MsgHandler handler;
};

struct MsgMap {
    const MsgMap* (*pfnGetBaseMap)();
    const MsgMapEntry* entries;
};

#define DECLARE_MESSAGE_MAP()                                                                                          \
protected:                                                                                                             \
    static const MsgMap* GetThisMessageMap();                                                                          \
    const MsgMap* GetMessageMap() const override {                                                                     \
        return GetThisMessageMap();                                                                                    \
    }

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                         \
    const MsgMap* theClass::GetThisMessageMap() {                                                                      \
        using ThisClass = theClass;                                                                                    \
        using TheBaseClass = baseClass;                                                                                \
        static const MsgMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                                                              \
    { 0, 0, 0, nullptr }                                                                                               \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const MsgMap map = {&TheBaseClass::GetThisMessageMap, entries};                                             \
    return &map;                                                                                                       \
    }

#define FW_THIS(w) static_cast<ThisClass*>(w)
#define FW_POINT(l)                                                                                                    \
    POINT {                                                                                                            \
        (short)LOWORD(l), (short)HIWORD(l)                                                                             \
    }
// The procedure of one entry: w is the object (FW_THIS(w) as the map's class), wp and l the message's parameters,
// r its answer.
#define FW_HANDLER(...)                                                                                                \
    [](CWnd* w, [[maybe_unused]] WPARAM wp, [[maybe_unused]] LPARAM l, LRESULT& r) {                                   \
        __VA_ARGS__;                                                                                                   \
        return true;                                                                                                   \
    }
// An entry for msg whose answer is the handler's result, or 0 after the handler.
#define FW_ANSWER_FROM(msg, ...) {msg, 0, 0, FW_HANDLER(r = (__VA_ARGS__))},
#define FW_ANSWER_ZERO(msg, ...) {msg, 0, 0, FW_HANDLER((__VA_ARGS__), r = 0)},

// int OnCreate(LPCREATESTRUCTA cs): -1 fails the creation
#define ON_WM_CREATE() FW_ANSWER_FROM(WM_CREATE, FW_THIS(w)->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(l)))
// void OnDestroy()
#define ON_WM_DESTROY() FW_ANSWER_ZERO(WM_DESTROY, FW_THIS(w)->OnDestroy())
// void OnPaint()
#define ON_WM_PAINT() FW_ANSWER_ZERO(WM_PAINT, FW_THIS(w)->OnPaint())
// BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message)
#define ON_WM_SETCURSOR()                                                                                              \
    FW_ANSWER_FROM(WM_SETCURSOR, FW_THIS(w)->OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(l), HIWORD(l)))
// void OnSysCommand(UINT nID, LPARAM lParam): nID is the command as received; its four low bits are the system's
#define ON_WM_SYSCOMMAND() FW_ANSWER_ZERO(WM_SYSCOMMAND, FW_THIS(w)->OnSysCommand(static_cast<UINT>(wp), l))
// void OnActivateApp(BOOL bActive, DWORD dwThreadId)
#define ON_WM_ACTIVATEAPP()                                                                                            \
    FW_ANSWER_ZERO(WM_ACTIVATEAPP, FW_THIS(w)->OnActivateApp(static_cast<BOOL>(wp), static_cast<DWORD>(l)))

// void OnXxx(UINT nFlags, POINT point), for the mouse messages below
#define FW_ON_MOUSE(msg, fn) FW_ANSWER_ZERO(msg, FW_THIS(w)->fn(static_cast<UINT>(wp), FW_POINT(l)))
#define ON_WM_MOUSEMOVE() FW_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() FW_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() FW_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() FW_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() FW_ON_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() FW_ON_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MBUTTONDOWN() FW_ON_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() FW_ON_MOUSE(WM_MBUTTONUP, OnMButtonUp)

// void OnXxx(UINT nChar, UINT nRepCnt, UINT nFlags), for the key messages below
#define FW_ON_KEY(msg, fn) FW_ANSWER_ZERO(msg, FW_THIS(w)->fn(static_cast<UINT>(wp), LOWORD(l), HIWORD(l)))
#define ON_WM_KEYDOWN() FW_ON_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_SYSKEYDOWN() FW_ON_KEY(WM_SYSKEYDOWN, OnSysKeyDown)

// void OnSetFocus(HWND hOldFocus) / void OnKillFocus(HWND hNewFocus)
#define ON_WM_SETFOCUS() FW_ANSWER_ZERO(WM_SETFOCUS, FW_THIS(w)->OnSetFocus(reinterpret_cast<HWND>(wp)))
#define ON_WM_KILLFOCUS() FW_ANSWER_ZERO(WM_KILLFOCUS, FW_THIS(w)->OnKillFocus(reinterpret_cast<HWND>(wp)))
// void OnCaptureChanged(HWND hWndGaining): the mouse capture is leaving this window (hWndGaining may be null)
#define ON_WM_CAPTURECHANGED()                                                                                         \
    FW_ANSWER_ZERO(WM_CAPTURECHANGED, FW_THIS(w)->OnCaptureChanged(reinterpret_cast<HWND>(l)))

// LRESULT OnXxx(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(msg, fn) FW_ANSWER_FROM(msg, FW_THIS(w)->fn(wp, l))

// void OnXxx(UINT message, WPARAM wParam, LPARAM lParam): one handler for several messages (one to six), told
// which one came; ON_MESSAGES(OnXxx, WM_RBUTTONDOWN, WM_MBUTTONDOWN) maps exactly those two
#define ON_MESSAGES(fn, ...)                                                                                           \
    FW_PICK_EACH(__VA_ARGS__, FW_EACH6, FW_EACH5, FW_EACH4, FW_EACH3, FW_EACH2, FW_EACH1)(fn, __VA_ARGS__)
#define FW_PICK_EACH(m1, m2, m3, m4, m5, m6, each, ...) each
#define FW_EACH1(fn, msg) FW_ANSWER_ZERO(msg, FW_THIS(w)->fn(static_cast<UINT>(msg), wp, l))
#define FW_EACH2(fn, msg, ...) FW_EACH1(fn, msg) FW_EACH1(fn, __VA_ARGS__)
#define FW_EACH3(fn, msg, ...) FW_EACH1(fn, msg) FW_EACH2(fn, __VA_ARGS__)
#define FW_EACH4(fn, msg, ...) FW_EACH1(fn, msg) FW_EACH3(fn, __VA_ARGS__)
#define FW_EACH5(fn, msg, ...) FW_EACH1(fn, msg) FW_EACH4(fn, __VA_ARGS__)
#define FW_EACH6(fn, msg, ...) FW_EACH1(fn, msg) FW_EACH5(fn, __VA_ARGS__)

// void OnXxx(): a control notification (WM_COMMAND) from control id with the given code
#define ON_CONTROL(code, id, fn)                                                                                       \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), FW_HANDLER(FW_THIS(w)->fn(), r = 0)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)

// void OnXxx(): the control's own notification, reflected back to it by its parent's WM_COMMAND
#define ON_CONTROL_REFLECT(code, fn)                                                                                   \
    {ReflectedEntry<WM_COMMAND>(), static_cast<UINT>(code), 0, FW_HANDLER(FW_THIS(w)->fn(), r = 0)},

// HBRUSH CtlColor(HDC hDC, UINT nCtlColor): the parent's WM_CTLCOLORSTATIC, answered by the control itself; a
// null brush leaves the message to the parent
#define ON_WM_CTLCOLOR_REFLECT()                                                                                       \
    {ReflectedEntry<WM_CTLCOLORSTATIC>(), 0, 0, [](CWnd* w, WPARAM wp, LPARAM, LRESULT& r) {                           \
         r = reinterpret_cast<LRESULT>(FW_THIS(w)->CtlColor(reinterpret_cast<HDC>(wp), CTLCOLOR_STATIC));              \
         return r != 0;                                                                                                \
     }},
