#pragma once
#include <windows.h>

#include <string>

#include "fw/FwResource.h"
#include "fw/Wnd.h"

class CDataExchange;

// A modal dialog from a template: runs its own loop so controls pre-translate keys before the dialog manager.
// A subclass overrides the three hooks below and maps its controls' messages; OK and Cancel are entries of this
// class's map (buttons, Enter, Escape and the close box all arrive as their commands).
class CDialog : public CWnd {
public:
    // lang picks the template and the validation messages among the module's languages; neutral leaves the
    // choice to the system.
    CDialog(UINT templateId, HWND owner, LANGID lang = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));

    // Creates the dialog, disables the owner while it runs and returns the EndDialog result (-1 on failure).
    INT_PTR DoModal();
    void EndDialog(int result);

    // Moves data between members and controls; stops at the first failure and returns FALSE then.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Hands the keys that the focused control and its parents passed on to the dialog manager.
    BOOL PreTranslateMessage(MSG* msg) override;

    LANGID GetResourceLanguage() const { return m_wResourceLanguage; }

protected:
    // ---- Hooks a subclass overrides ----

    // Before the dialog shows: the first exchange, which subclasses the DDX_Control controls. An override calls
    // it first. TRUE lets the dialog manager give the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    // OK: takes the controls' data and ends the dialog with IDOK unless the exchange fails. An override that
    // ends the dialog does so by calling it.
    virtual void OnOK();

    // ---- Not meant to be overridden ----

    // Cancel: ends the dialog with IDCANCEL.
    void OnCancel();
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

    // Protected for the framework's test, which names a template the module lacks.
    UINT m_nIDTemplate;

    DECLARE_MESSAGE_MAP()

private:
    HWND m_hWndOwner;
    LANGID m_wResourceLanguage;
    bool m_bModalDone = false;
    int m_nModalResult = -1;

    static INT_PTR CALLBACK InitDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
    void CenterOnOwnerOrWorkArea();
};

// State of one data exchange: its direction, the control last prepared and whether it has failed.
class CDataExchange {
public:
    CDataExchange(CDialog* dlg, BOOL saveAndValidate) : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
    bool m_bFailed = false;

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Focuses the last prepared control (selecting an edit's text) and marks the exchange failed.
    void Fail();
};

// Each routine does nothing once the exchange has failed, so an exchange stops at its first failure.

// Subclasses control id into ctrl at the first exchange.
void DDX_Control(CDataExchange* dx, int id, CWnd& ctrl);
// Integer in an edit: "%d" towards the control; parsed from it, "not an integer" (AFX_IDP_PARSE_INT) on failure.
void DDX_Text(CDataExchange* dx, int id, int& value);
// Whole text of an edit, both ways.
void DDX_Text(CDataExchange* dx, int id, std::string& value);
// Range test after DDX_Text: AFX_IDP_PARSE_INT_RANGE with %1/%2 the bounds on failure.
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
// Towards the control: limits typing to maxChars. From it: a longer text fails with message.
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars, const char* message);
// Trackbar position, both ways.
void DDX_Slider(CDataExchange* dx, int id, int& value);
