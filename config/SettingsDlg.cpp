#include "config/SettingsDlg.h"

#include <commctrl.h>
#include <commdlg.h>

#include <utility>
#include <vector>

#include "config/SettingsDlgRules.h"
#include "fw/AnsiCodePage.h"
#include "fw/App.h"
#include "fw/DialogTextFit.h"
#include "fw/SystemLibrary.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"

namespace {

constexpr int kSpeedMin = 0, kSpeedMax = 40;
constexpr int kSpiralTimeMin = 10, kSpiralTimeMax = 100;
constexpr int kPictureTimeMin = 0, kPictureTimeMax = 100;

// One string value of the version block; a missing value reads as empty text.
std::string QueryVersionString(const void* block, const std::string& prefix, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    std::string path = prefix + name;
    if (!::VerQueryValueA(block, path.c_str(), &value, &length) || value == nullptr || length == 0)
        return std::string();
    return std::string(static_cast<const char*>(value));
}

// The DPI the dialog was laid out for: its monitor's, which may differ from the system's. GetDpiForWindow came
// with Windows 10 1607; before it every window had the system's DPI.
UINT DialogDpi(HWND dlg) {
    const auto dpiForWindow = FindEntryPoint<UINT WINAPI(HWND)>(::GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    if (dpiForWindow != nullptr)
        return dpiForWindow(dlg);
    CClientDC screen(nullptr);
    return static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX));
}

} // namespace

BEGIN_MESSAGE_MAP(CSettingsDlg, CDialog)
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
ON_EN_KILLFOCUS(IDC_SPIRAL_TIME, OnSpiralTimeKillFocus)
ON_EN_KILLFOCUS(IDC_PICTURE_TIME, OnPictureTimeKillFocus)
ON_MESSAGE(WM_SYSCOLORCHANGE, OnThemeChange)
ON_MESSAGE(WM_SETTINGCHANGE, OnThemeChange)
END_MESSAGE_MAP()

CSettingsDlg::CSettingsDlg(HWND owner, std::string settingsFile, LANGID lang)
    : CDialog(IDD_SETTINGS, owner, lang), m_strSettingsFile(std::move(settingsFile)) {}

CSettingsDlg::~CSettingsDlg() = default;

void CSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_BACK_COLOR, m_backColor);
    DDX_Control(pDX, IDC_FRONT_COLOR, m_frontColor);
    DDX_Control(pDX, IDC_URL_LINK, m_urlLink);
    DDX_Control(pDX, IDC_MAIL_LINK, m_mailLink);
    DDX_Control(pDX, IDC_SPEED_SLIDER, m_speedSlider);
    DDX_Control(pDX, IDC_BROWSE, m_browseButton);
    DDX_Slider(pDX, IDC_SPEED_SLIDER, m_nSpeed);
    // The picture time comes before the spiral time, so it is the one reported when both are wrong.
    DDX_Text(pDX, IDC_PICTURE_TIME, m_nPictureTime);
    DDV_MinMaxInt(pDX, m_nPictureTime, kPictureTimeMin, kPictureTimeMax);
    DDX_Text(pDX, IDC_SPIRAL_TIME, m_nSpiralTime);
    DDV_MinMaxInt(pDX, m_nSpiralTime, kSpiralTimeMin, kSpiralTimeMax);
    DDX_Text(pDX, IDC_PICTURE_FILE, m_strPictureFile);
    // The file dialog allows longer names than typing does, so a long path can still reach OK.
    DDV_MaxChars(pDX, m_strPictureFile, kMaxPictureFileChars,
                 pDX->m_bSaveAndValidate ? AfxLoadString(IDS_PATH_TOO_LONG, GetResourceLanguage()).c_str() : "");
}

BOOL CSettingsDlg::OnInitDialog() {
    // The first exchange subclasses the swatches and link labels.
    CDialog::OnInitDialog();
    SetAccessibleTexts();

    SaverSettings settings = LoadSettings(m_strSettingsFile.c_str());
    m_nSpeed = settings.Speed;
    m_nSpiralTime = settings.SpiralTime;
    m_nPictureTime = settings.PictureTime;
    m_strPictureFile = settings.PictureFile;
    m_frontColor.SetColor(settings.FrontColor);
    m_backColor.SetColor(settings.BackColor);

    ::SendDlgItemMessageA(m_hWnd, IDC_SPEED_SLIDER, TBM_SETRANGE, FALSE, MAKELPARAM(kSpeedMin, kSpeedMax));
    // Upper bound in the low word: the up arrow counts towards 100.
    ::SendDlgItemMessageA(m_hWnd, IDC_SPIRAL_SPIN, UDM_SETRANGE, 0, MAKELPARAM(kSpiralTimeMax, kSpiralTimeMin));
    ::SendDlgItemMessageA(m_hWnd, IDC_PICTURE_SPIN, UDM_SETRANGE, 0, MAKELPARAM(kPictureTimeMax, kPictureTimeMin));
    ::SendDlgItemMessageA(m_hWnd, IDC_SPIRAL_SPIN, UDM_SETPOS, 0, MAKELPARAM(LOWORD(m_nSpiralTime), 0));
    ::SendDlgItemMessageA(m_hWnd, IDC_PICTURE_SPIN, UDM_SETPOS, 0, MAKELPARAM(LOWORD(m_nPictureTime), 0));

    // The edits show the stored numbers as they are, even outside the up-down ranges.
    UpdateData(FALSE);
    FillVersionBox();
    // Every text is in place now; the dialog shows only after this.
    FitDialogTexts(m_hWnd);
    ShowIconAtDialogDpi();
    return TRUE; // default focus: the first tab stop, the slider
}

void CSettingsDlg::SetAccessibleTexts() {
    const LANGID lang = GetResourceLanguage();
    const std::string colorFormat = AfxLoadString(IDS_ACC_COLOR_VALUE, lang);
    const std::string press = AfxLoadString(IDS_ACC_PRESS, lang);
    m_frontColor.SetAccessibleTexts(AfxLoadString(IDS_ACC_FRONT_COLOR, lang), colorFormat, press);
    m_backColor.SetAccessibleTexts(AfxLoadString(IDS_ACC_BACK_COLOR, lang), colorFormat, press);
    m_urlLink.SetDefaultActionName(AfxLoadString(IDS_ACC_JUMP, lang));
    m_mailLink.SetDefaultActionName(AfxLoadString(IDS_ACC_JUMP, lang));
    m_speedSlider.SetAccessibleName(AfxLoadString(IDS_ACC_SPEED, lang));
    m_browseButton.SetAccessibleName(AfxLoadString(IDS_ACC_BROWSE, lang));
    m_browseButton.SetDefaultActionName(press);
}

LRESULT CSettingsDlg::OnThemeChange(WPARAM, LPARAM) {
    // Every child hears it: the common controls ask for it too.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return Default();
}

void CSettingsDlg::FillVersionBox() {
    const std::string path = AfxGetModuleFileName(nullptr);
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return;
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return;
    void* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length) ||
        translation == nullptr || length < sizeof(DWORD))
        return;
    // The strings in the dialog's own language, where the resource has them.
    std::string prefix = VersionStringPrefix(
        PickTranslation(static_cast<const uint32_t*>(translation), length / sizeof(uint32_t), GetResourceLanguage()));
    std::string line = VersionLine(QueryVersionString(block.data(), prefix, "ProductName"),
                                   QueryVersionString(block.data(), prefix, "ProductVersion"));
    ::SetDlgItemTextA(m_hWnd, IDC_VERSION_LINE, line.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_COPYRIGHT_LINE, QueryVersionString(block.data(), prefix, "LegalCopyright").c_str());
}

void CSettingsDlg::ShowIconAtDialogDpi() {
    // The template's icon control takes the system's icon size, the one image of the icon drawn for a DPI
    // that may not be the dialog's; the image drawn for the dialog's own size replaces it.
    for (HWND control = ::GetWindow(m_hWnd, GW_CHILD); control != nullptr;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        const int size = ::MulDiv(32, static_cast<int>(DialogDpi(m_hWnd)), 96);
        m_icon.Reset(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPICON),
                                                     IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        if (m_icon.IsValid())
            ::SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(m_icon.Get()), 0);
        return;
    }
}

void CSettingsDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    SaverSettings settings;
    settings.Speed = m_nSpeed;
    settings.SpiralTime = m_nSpiralTime;
    settings.PictureTime = m_nPictureTime;
    settings.PictureFile = m_strPictureFile;
    settings.FrontColor = m_frontColor.GetColor();
    settings.BackColor = m_backColor.GetColor();
    // A settings file that cannot be written (a folder the user may not write to, say) must not pass for
    // saved: the user is told, and the dialog stays open with their values, for another try or Cancel.
    if (!SaveSettings(settings, m_strSettingsFile.c_str())) {
        const std::string message =
            AfxFormatString1(AfxLoadString(IDS_SAVE_FAILED, GetResourceLanguage()), m_strSettingsFile);
        AfxMessageBox(message.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDialog::OnOK();
}

void CSettingsDlg::OnLButtonDown(UINT, POINT) {
    // A click on empty space takes the focus off whatever control held it.
    ::SetFocus(GetDlgItem(IDOK));
    Default();
}

void CSettingsDlg::OnRButtonDown(UINT, POINT) {
    ::SetFocus(GetDlgItem(IDOK));
    Default();
}

void CSettingsDlg::OnBrowse() {
    char text[MAX_PATH] = {};
    ::GetDlgItemTextA(m_hWnd, IDC_PICTURE_FILE, text, MAX_PATH);
    std::string folder = BrowseInitialFolder(text, &IsAnsiLeadByte);

    char file[MAX_PATH] = {};
    static const char kFilter[] = "JPEG Files (*.jpg;*.jpeg)\0*.jpg;*.jpeg\0";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOVALIDATE | OFN_EXPLORER;
    if (::GetOpenFileNameA(&ofn))
        ::SetDlgItemTextA(m_hWnd, IDC_PICTURE_FILE, file);
}

void CSettingsDlg::NormaliseTimeEdit(int spinId) {
    // UDM_GETPOS re-reads the edit; an entry it cannot take leaves the last valid position in the low word.
    LRESULT pos = ::SendDlgItemMessageA(m_hWnd, spinId, UDM_GETPOS, 0, 0);
    ::SendDlgItemMessageA(m_hWnd, spinId, UDM_SETPOS, 0, MAKELPARAM(LOWORD(pos), 0));
}

void CSettingsDlg::OnSpiralTimeKillFocus() {
    NormaliseTimeEdit(IDC_SPIRAL_SPIN);
}

void CSettingsDlg::OnPictureTimeKillFocus() {
    NormaliseTimeEdit(IDC_PICTURE_SPIN);
}
