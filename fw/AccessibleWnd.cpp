#include "fw/AccessibleWnd.h"

#include <oleacc.h>

namespace {

// Posted by the handed-out object to its own window: the default action, run after the client's call has returned.
constexpr UINT WM_ACC_DODEFAULTACTION = WM_APP + 0x3A0;

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

BSTR ToBstr(const std::string& ansi) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    BSTR text = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (text != nullptr && length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), text, length);
    return text;
}

} // namespace

// The object accessibility clients get for a CAccessibleWnd: the standard object of its window, with the window's
// own answers put over it. It may outlive the window in a client's hands: cut off, it gives standard answers only.
class CAccessibleProxy final : public IAccessible, public IOleWindow {
public:
    CAccessibleProxy(CAccessibleWnd* owner, IAccessible* standard) : m_owner(owner), m_hWnd(owner->m_hWnd) {
        m_std.Attach(standard);
    }
    void Disconnect() { m_owner = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (riid == __uuidof(IOleWindow))
            *out = static_cast<IOleWindow*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

    // IOleWindow: how a client finds the window of an object.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
        if (out == nullptr)
            return E_POINTER;
        *out = m_hWnd;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch: the standard object's type information, invoked on this object so the answers above hold there too.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_std->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return m_std->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        return m_std->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override {
        CComPtr<ITypeInfo> info;
        const HRESULT hr = m_std->GetTypeInfo(0, lcid, &info);
        if (FAILED(hr))
            return hr;
        return info->Invoke(static_cast<IAccessible*>(this), id, flags, params, result, exception, argError);
    }

    // IAccessible: the control's own answers about itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        return Text(child, &CAccessibleWnd::AccName, &IAccessible::get_accName, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        return Text(child, &CAccessibleWnd::AccValue, &IAccessible::get_accValue, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return Text(child, &CAccessibleWnd::AccDescription, &IAccessible::get_accDescription, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return Text(child, &CAccessibleWnd::AccDefaultAction, &IAccessible::get_accDefaultAction, out);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        long role = 0;
        if (out == nullptr || m_owner == nullptr || !IsSelf(child) || !m_owner->AccRole(role))
            return m_std->get_accRole(child, out);
        out->vt = VT_I4;
        out->lVal = role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        const HRESULT hr = m_std->get_accState(child, out);
        if (out == nullptr || m_owner == nullptr || !IsSelf(child))
            return hr;
        const long standard = SUCCEEDED(hr) && out->vt == VT_I4 ? out->lVal : 0;
        long state = 0;
        if (!m_owner->AccState(standard, state))
            return hr;
        out->vt = VT_I4;
        out->lVal = state;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        std::string action;
        if (m_owner == nullptr || !IsSelf(child) || !m_owner->AccDefaultAction(action))
            return m_std->accDoDefaultAction(child);
        if (!m_owner->TakesActions())
            return DISP_E_MEMBERNOTFOUND; // nothing would happen: the caller hears so
        return ::PostMessageA(m_hWnd, WM_ACC_DODEFAULTACTION, 0, 0) ? S_OK : E_FAIL;
    }

    // IAccessible: the standard object's answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override { return m_std->get_accParent(out); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* out) override { return m_std->get_accChildCount(out); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return m_std->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override { return m_std->get_accHelp(child, out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return m_std->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return m_std->get_accKeyboardShortcut(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override { return m_std->get_accFocus(out); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override { return m_std->get_accSelection(out); }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return m_std->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return m_std->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override {
        return m_std->accNavigate(direction, start, out);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override { return m_std->accHitTest(x, y, out); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return m_std->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return m_std->put_accValue(child, value);
    }

private:
    using TextAnswer = bool (CAccessibleWnd::*)(std::string&) const;
    using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

    HRESULT Text(VARIANT child, TextAnswer answer, StandardText standard, BSTR* out) {
        std::string text;
        if (out == nullptr || m_owner == nullptr || !IsSelf(child) || !(m_owner->*answer)(text))
            return (m_std.Get()->*standard)(child, out);
        *out = ToBstr(text);
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    LONG m_refs = 1;
    CAccessibleWnd* m_owner;
    const HWND m_hWnd;
    CComPtr<IAccessible> m_std;
};

BEGIN_MESSAGE_MAP(CAccessibleWnd, CWnd)
ON_MESSAGE(WM_GETOBJECT, OnGetObject)
ON_WM_DESTROY()
ON_MESSAGE(WM_ACC_DODEFAULTACTION, OnDoDefaultActionPosted)
END_MESSAGE_MAP()

CAccessibleWnd::CAccessibleWnd() = default;

CAccessibleWnd::~CAccessibleWnd() {
    ReleaseProxy();
}

void CAccessibleWnd::NotifyAccessibleChange(DWORD event) const {
    ::NotifyWinEvent(event, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}

bool CAccessibleWnd::AccRole(long&) const {
    return false;
}

bool CAccessibleWnd::AccName(std::string& name) const {
    if (m_strAccName.empty())
        return false;
    name = m_strAccName;
    return true;
}

bool CAccessibleWnd::AccValue(std::string&) const {
    return false;
}

bool CAccessibleWnd::AccDescription(std::string&) const {
    return false;
}

bool CAccessibleWnd::AccState(long, long&) const {
    return false;
}

bool CAccessibleWnd::AccDefaultAction(std::string&) const {
    return false;
}

long CAccessibleWnd::FocusableState(long standard) const {
    const long kept = STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_UNAVAILABLE;
    return (standard & kept) | STATE_SYSTEM_FOCUSABLE | (::GetFocus() == m_hWnd ? STATE_SYSTEM_FOCUSED : 0);
}

LRESULT CAccessibleWnd::OnGetObject(WPARAM wParam, LPARAM lParam) {
    // A 64-bit lParam carries the 32-bit object id, sign-extended or not.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT))
        return Default();
    if (!m_proxy) {
        IAccessible* standard = nullptr;
        if (FAILED(::CreateStdAccessibleObject(m_hWnd, OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&standard))))
            return Default();
        m_proxy.Attach(new CAccessibleProxy(this, standard));
    }
    const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(m_proxy.Get()));
    return SUCCEEDED(static_cast<HRESULT>(result)) ? result : Default();
}

void CAccessibleWnd::OnDestroy() {
    ReleaseProxy();
    Default();
}

bool CAccessibleWnd::TakesActions() const {
    return ::IsWindowEnabled(m_hWnd) && ::IsWindowEnabled(::GetAncestor(m_hWnd, GA_ROOT));
}

LRESULT CAccessibleWnd::OnDoDefaultActionPosted(WPARAM, LPARAM) {
    // Asked again: a modal dialog may have come between the request and now.
    if (TakesActions())
        OnAccDoDefaultAction();
    return 0;
}

void CAccessibleWnd::ReleaseProxy() {
    if (!m_proxy)
        return;
    // Clients that still hold the object get "disconnected" from now on, and nothing of it reaches this window.
    m_proxy->Disconnect();
    ::CoDisconnectObject(static_cast<IAccessible*>(m_proxy.Get()), 0);
    m_proxy.Release();
}

bool CAccessibleButton::AccRole(long& role) const {
    role = ROLE_SYSTEM_PUSHBUTTON;
    return true;
}

bool CAccessibleButton::AccDefaultAction(std::string& action) const {
    action = m_strAction;
    return !action.empty();
}

void CAccessibleButton::OnAccDoDefaultAction() {
    // What a click tells the parent; BM_CLICK would need the dialog to be the active window.
    ::SendMessageA(GetParentHwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), BN_CLICKED),
                   reinterpret_cast<LPARAM>(m_hWnd));
}
