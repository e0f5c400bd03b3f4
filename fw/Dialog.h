#pragma once
#include <windows.h>

#include <string>

#include "fw/FwResource.h"
#include "fw/Wnd.h"

class CDataExchange;

// A modal dialog from a template: runs its own loop so controls pre-translate keys before the dialog manager.
class CDialog : public CWnd {
public:
    CDialog(UINT templateId, HWND owner);

    // Creates the dialog, disables the owner while it runs and returns the EndDialog result (-1 on failure).
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // Moves data between members and controls; stops at the first failure and returns FALSE then.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK();
    virtual void OnCancel();

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

    UINT m_nIDTemplate;
    HWND m_hWndOwner;

    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
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

// Attaches ctrl to control id at the first exchange.
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
