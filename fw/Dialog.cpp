#include "fw/Dialog.h"

#include <commctrl.h>

#include <cstdio>

#include "fw/App.h"
#include "fw/DialogNumbers.h"
#include "fw/DialogPlacement.h"
#include "fw/FailureLog.h"
#include "fw/ResourceLoad.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_BN_CLICKED(IDOK, OnOK)
ON_BN_CLICKED(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, HWND owner, LANGID lang)
    : m_nIDTemplate(templateId), m_hWndOwner(owner), m_wResourceLanguage(lang) {}

INT_PTR CDialog::DoModal() {
    HWND owner = m_hWndOwner;
    bool reenableOwner = false;
    if (owner != nullptr && ::IsWindow(owner) && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        reenableOwner = true;
    }
    m_bModalDone = false;
    m_nModalResult = -1;
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    const DLGTEMPLATE* dialogTemplate = LoadDialogTemplateIn(module, m_nIDTemplate, m_wResourceLanguage);
    HWND hDlg = dialogTemplate == nullptr
                    ? nullptr
                    : ::CreateDialogIndirectParamA(module, dialogTemplate, owner, &CDialog::InitDialogProc,
                                                   reinterpret_cast<LPARAM>(this));
    if (hDlg != nullptr) {
        // Messages go through the pre-translation chain (focused control first, then the dialog). A quit request
        // ends the dialog and is put back for the loop outside.
        MSG msg{};
        while (!m_bModalDone) {
            if (!PumpMessage(hDlg, msg)) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
        }
        ::SetWindowPos(hDlg, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (reenableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner != nullptr && hDlg != nullptr && ::GetActiveWindow() == hDlg)
        ::SetActiveWindow(owner);
    if (hDlg != nullptr)
        ::DestroyWindow(hDlg);
    return m_nModalResult;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bModalDone = true;
    // Wake the modal loop even if no other message is on its way.
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    return ::IsDialogMessageA(m_hWnd, msg);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::InitDialogProc(HWND hDlg, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG)
        return FALSE; // everything else reaches our window procedure through the subclass below
    CDialog* dlg = reinterpret_cast<CDialog*>(lParam);
    dlg->SubclassWindow(hDlg);
    dlg->CenterOnOwnerOrWorkArea();
    // A dialog whose initialisation throws was not created properly: it ends at once and DoModal reports -1,
    // as for a dialog the platform could not create.
    try {
        return dlg->OnInitDialog();
    } catch (...) {
        LogFailure("exception in dialog initialisation (message 0x%04X): %s", WM_INITDIALOG, CaughtExceptionText());
    }
    dlg->EndDialog(-1);
    return TRUE;
}

void CDialog::CenterOnOwnerOrWorkArea() {
    RECT dlgRect;
    ::GetWindowRect(m_hWnd, &dlgRect);
    HWND owner = m_hWndOwner;
    bool useOwner = owner != nullptr && ::IsWindow(owner) && ::IsWindowVisible(owner) && !::IsIconic(owner);

    HMONITOR monitor = ::MonitorFromWindow(useOwner ? owner : m_hWnd, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT work;
    if (::GetMonitorInfoA(monitor, &mi))
        work = mi.rcWork;
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);

    FwRect area{work.left, work.top, work.right, work.bottom};
    if (useOwner) {
        RECT ownerRect;
        ::GetWindowRect(owner, &ownerRect);
        area = {ownerRect.left, ownerRect.top, ownerRect.right, ownerRect.bottom};
    }
    FwPoint pos = CenterInside({dlgRect.left, dlgRect.top, dlgRect.right, dlgRect.bottom}, area,
                               {work.left, work.top, work.right, work.bottom});
    ::SetWindowPos(m_hWnd, nullptr, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- data exchange ----

HWND CDataExchange::PrepareCtrl(int id) {
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    m_bEditLastControl = FALSE;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    HWND h = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail() {
    m_bFailed = true;
    if (!m_bSaveAndValidate || m_hWndLastControl == nullptr)
        return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl)
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& ctrl) {
    if (dx->m_bFailed || ctrl.m_hWnd != nullptr)
        return;
    ctrl.SubclassWindow(dx->PrepareCtrl(id));
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    if (dx->m_bFailed)
        return;
    HWND h = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        char text[kDialogIntMaxChars + 1] = {};
        ::GetWindowTextA(h, text, sizeof text);
        int parsed = 0;
        if (!ParseDialogInt(text, parsed)) {
            AfxMessageBox(AfxLoadString(AFX_IDP_PARSE_INT, dx->m_pDlgWnd->GetResourceLanguage()).c_str(),
                          MB_OK | MB_ICONEXCLAMATION);
            dx->Fail();
            return;
        }
        value = parsed;
    } else {
        char text[16];
        std::snprintf(text, sizeof text, "%d", value);
        ::SetWindowTextA(h, text);
    }
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    if (dx->m_bFailed)
        return;
    HWND h = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = WindowText(h);
    } else {
        ::SetWindowTextA(h, value.c_str());
    }
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
    if (dx->m_bFailed || !dx->m_bSaveAndValidate)
        return;
    if (value >= minValue && value <= maxValue)
        return;
    std::string message = AfxFormatString2(AfxLoadString(AFX_IDP_PARSE_INT_RANGE, dx->m_pDlgWnd->GetResourceLanguage()),
                                           std::to_string(minValue), std::to_string(maxValue));
    AfxMessageBox(message.c_str(), MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
}

void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars, const char* message) {
    if (dx->m_bFailed)
        return;
    if (!dx->m_bSaveAndValidate) {
        if (dx->m_hWndLastControl != nullptr)
            ::SendMessageA(dx->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (value.size() <= static_cast<size_t>(maxChars))
        return;
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
}

void DDX_Slider(CDataExchange* dx, int id, int& value) {
    if (dx->m_bFailed)
        return;
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(h, TBM_GETPOS, 0, 0));
    else
        ::SendMessageA(h, TBM_SETPOS, TRUE, value);
}
