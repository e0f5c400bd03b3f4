#pragma once
#include <windows.h>

#include <string>

#include "fw/MsgMap.h"

// A window object bound to one HWND: routes the window's messages through the class's message map.
// A subclass gives a window its behaviour through its message map (fw/MsgMap.h) and the three hooks below;
// the rest it calls but does not override.
class CWnd {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    // ---- Hooks a subclass overrides ----

    // Sees a message for this window (or a child) before it is translated and dispatched; TRUE consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg);

protected:
    // Runs after the window's last message (WM_NCDESTROY), once the object is unbound: where a heap window
    // deletes itself.
    virtual void PostNcDestroy() {}
    // Runs once a control has been taken over by SubclassWindow, before its next message.
    virtual void PreSubclassWindow() {}

    // ---- Not meant to be overridden ----
public:
    // The object bound to hWnd by this framework, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Registers (once) a window class with these traits and returns its generated name.
    static const char* RegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                        HICON icon = nullptr);

    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  HWND parent, UINT id, void* param = nullptr);
    BOOL DestroyWindow();

    // Takes over an existing window (a dialog control): its messages go through our map first.
    BOOL SubclassWindow(HWND hWnd);
    // Gives a subclassed control its own procedure back, and unbinds the object from its window.
    HWND UnsubclassWindow();

    std::string GetWindowText() const;
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void GetClientRect(RECT* rc) const { ::GetClientRect(m_hWnd, rc); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND GetParentHwnd() const { return ::GetParent(m_hWnd); }

protected:
    // Default processing of the message being handled now: the system's (or the subclassed control's own), never
    // a base class's handler.
    LRESULT Default();
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // The root of every map chain; DECLARE_MESSAGE_MAP overrides GetMessageMap, nothing else does.
    static const MsgMap* GetThisMessageMap();
    virtual const MsgMap* GetMessageMap() const { return GetThisMessageMap(); }

private:
    // The framework's two message loops, the application's and the modal dialog's, pump through PumpMessage.
    friend class CWinApp;
    friend class CDialog;

    struct CurrentMsg {
        UINT msg = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    CurrentMsg m_current;
    // The subclassed control's own procedure; null for a window of our own class.
    WNDPROC m_pfnSuper = nullptr;

    // Takes the next message of this thread and, unless a bound window from its target up to stopAt
    // pre-translates it, dispatches it; false at the quit request.
    static bool PumpMessage(HWND stopAt, MSG& msg);
    // The window procedure of every class registered here and of every subclassed control.
    static LRESULT CALLBACK StdWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Looks the message up in the map chain, after offering a reflected notification to its sender.
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A parent's notification offered back to this control; true when the control handled it.
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static const MsgMapEntry* FindEntry(const MsgMap* map, UINT msg, UINT code, UINT id);
    static bool Dispatch(CWnd* wnd, const MsgMap* map, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Binds the object and the handle to each other, without owning the window; Unbind undoes it.
    void Bind(HWND hWnd);
    HWND Unbind();
    void OnNcDestroyFinal();
};

// The whole text of a window; empty when it has none.
std::string WindowText(HWND hWnd);
