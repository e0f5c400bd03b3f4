#pragma once
#include <windows.h>

#include <string>

#include "fw/MsgMap.h"

// A window object bound to one HWND: routes the window's messages through the class's message map.
class CWnd {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

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
    HWND UnsubclassWindow();

    // Sees a message for this window (or a child) before it is translated and dispatched; TRUE consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Offers msg to every bound window from msg->hwnd up to (and including) stopAt, innermost first.
    static BOOL WalkPreTranslateTree(HWND stopAt, MSG* msg);

    // Default processing of the message being handled now.
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    std::string GetWindowText() const;
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void GetClientRect(RECT* rc) const { ::GetClientRect(m_hWnd, rc); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND GetParentHwnd() const { return ::GetParent(m_hWnd); }

    static LRESULT CALLBACK StdWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    static const MsgMap* GetThisMessageMap();
    virtual const MsgMap* GetMessageMap() const { return GetThisMessageMap(); }

    // Looks the message up in the map chain (after offering control notifications back to the control).
    virtual bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A parent's notification offered back to this control; true when the control handled it.
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Runs after the window's last message (WM_NCDESTROY), once the object is unbound.
    virtual void PostNcDestroy() {}
    // Runs once a control has been taken over by SubclassWindow, before its next message.
    virtual void PreSubclassWindow() {}

    void Attach(HWND hWnd);
    HWND Detach();

    WNDPROC m_pfnSuper = nullptr;

private:
    struct CurrentMsg {
        UINT msg = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    CurrentMsg m_current;

    static const MsgMapEntry* FindEntry(const MsgMap* map, UINT msg, UINT code, UINT id);
    static bool Dispatch(CWnd* wnd, const MsgMap* map, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnNcDestroyFinal();
};

// Reports an exception that a window or dialog procedure caught and did not let through (OutputDebugStringA).
void LogSwallowedException(const char* where, UINT msg, const char* what);
