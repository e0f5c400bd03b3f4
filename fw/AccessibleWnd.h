#pragma once
// A control that speaks for itself to screen readers and other accessibility clients (MSAA, and UI Automation
// through its MSAA proxies): it hands out the system's standard object for its window, with the answers that differ
// for this control put over it.
#include <windows.h>

#include <string>

#include "fw/Handles.h"
#include "fw/Wnd.h"

class CAccessibleProxy;

// Answers WM_GETOBJECT for its client object. A subclass overrides the answers that differ; every other question, and
// every question about a child, gets the standard object's answer. The thread must be in a COM apartment (the object
// is marshalled to the asking process); without one the control keeps the system's own answer. What was handed out
// is cut off and released when the window goes.
class CAccessibleWnd : public CWnd {
public:
    CAccessibleWnd();
    ~CAccessibleWnd() override;

    // The name accessibility clients hear for the control (ANSI code page); empty leaves the standard name.
    void SetAccessibleName(std::string name) { m_strAccName = std::move(name); }
    // Announces a change of one of the answers (EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_DESCRIPTIONCHANGE, ...).
    void NotifyAccessibleChange(DWORD event) const;

protected:
    // ---- Answers a subclass overrides: true with the answer, false for the standard one. Texts are in the ANSI
    // code page. ----
    virtual bool AccRole(long& role) const;
    virtual bool AccName(std::string& name) const; // the name set above, when there is one
    virtual bool AccValue(std::string& value) const;
    virtual bool AccDescription(std::string& description) const;
    // standard is the standard object's state (0 when it has none).
    virtual bool AccState(long standard, long& state) const;
    // A control that names a default action here runs it in OnAccDoDefaultAction.
    virtual bool AccDefaultAction(std::string& action) const;
    // The default action, run from the control's own message queue once the client's call has returned: the call
    // comes from another process, which would wait for as long as anything run inside it lasts (a modal dialog).
    virtual void OnAccDoDefaultAction() {}

    // The state of a control that takes the keyboard focus: the standard state's visibility and availability,
    // focusable, and focused while it has the focus.
    long FocusableState(long standard) const;

    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    // Releases what was handed out; a subclass that maps WM_DESTROY calls it.
    void OnDestroy();
    LRESULT OnDoDefaultActionPosted(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    friend class CAccessibleProxy;
    std::string m_strAccName;
    // The object handed out, made at the first request and kept while the window lives.
    CComPtr<CAccessibleProxy> m_proxy;

    void ReleaseProxy();
    // A window that a modal dialog of its own has disabled takes no input, and no action either: a second request
    // arriving meanwhile would otherwise open a second dialog inside the first.
    bool TakesActions() const;
};

// A push button whose accessible name and word for pressing are the program's. Its default action is a click, made
// from its own message queue (the click may open a modal dialog).
class CAccessibleButton : public CAccessibleWnd {
public:
    void SetDefaultActionName(std::string action) { m_strAction = std::move(action); }

protected:
    bool AccRole(long& role) const override;
    bool AccDefaultAction(std::string& action) const override;
    void OnAccDoDefaultAction() override;

private:
    std::string m_strAction;
};
