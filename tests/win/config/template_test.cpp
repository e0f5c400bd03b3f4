// The resources whorlix.scr carries, read from the file itself, and the dialog they make at run time.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ConfigDriver.h"

namespace {

std::wstring Wide(const char* utf8) {
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

// Reads the variable-length fields of an extended dialog template.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* p) : m_p(p) {}
    template <typename T> T Get() {
        T v;
        std::memcpy(&v, m_p, sizeof v);
        m_p += sizeof v;
        return v;
    }
    // A string, or "#n" for an ordinal, or "" for none.
    std::wstring NameOrOrdinal() {
        WORD first = Get<WORD>();
        if (first == 0)
            return L"";
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Get<WORD>());
        std::wstring s(1, static_cast<wchar_t>(first));
        for (WORD c; (c = Get<WORD>()) != 0;)
            s += static_cast<wchar_t>(c);
        return s;
    }
    void AlignDword(const BYTE* base) {
        while ((m_p - base) % 4 != 0)
            ++m_p;
    }
    void Skip(size_t n) { m_p += n; }
    const BYTE* Pos() const { return m_p; }

private:
    const BYTE* m_p;
};

struct TemplateItem {
    DWORD style, exStyle;
    short x, y, cx, cy;
    int id;
    std::wstring cls, title;
};

struct ExpectedItem {
    int id;
    const wchar_t* cls; // ordinal classes as "#128" (button), "#129" (edit), "#130" (static)
    const char* title;  // UTF-8
    short x, y, cx, cy;
    DWORD style; // bits that must be set
};

constexpr DWORD kTab = WS_TABSTOP, kGroup = WS_GROUP, kBorder = WS_BORDER;
const ExpectedItem kItems[] = {
    {-1, L"#128", "設定", 7, 10, 175, 120, BS_GROUPBOX},
    {-1, L"#130", "回転速度(&S)", 17, 25, 37, 8, SS_LEFT},
    {-1, L"#130", "速い", 62, 25, 14, 8, SS_LEFT},
    {1001, L"msctls_trackbar32", "Slider1", 77, 20, 70, 15, 0x8 /*TBS_BOTH*/ | 0x10 /*TBS_NOTICKS*/ | kTab},
    {-1, L"#130", "遅い", 152, 25, 14, 8, SS_LEFT},
    {-1, L"#130", "表示時間", 17, 43, 28, 8, SS_LEFT},
    {-1, L"#130", "渦巻き(&U)", 62, 43, 30, 8, SS_LEFT},
    {1017, L"#129", "", 107, 40, 25, 12, ES_NUMBER | ES_RIGHT | kBorder | kTab},
    {1019, L"msctls_updown32", "Spin1", 147, 41, 9, 14, 0x2 | 0x4 | 0x10 | 0x20 | 0x80},
    {-1, L"#130", "秒", 137, 42, 8, 8, SS_LEFT},
    {-1, L"#130", "静止画(&P)", 62, 58, 30, 8, SS_LEFT},
    {1018, L"#129", "", 107, 56, 25, 12, ES_NUMBER | ES_RIGHT | kBorder | kTab},
    {1020, L"msctls_updown32", "Spin2", 147, 56, 9, 14, 0x2 | 0x4 | 0x10 | 0x20 | 0x80},
    {-1, L"#130", "秒", 137, 58, 8, 8, SS_LEFT},
    {-1, L"#130", "表示色", 17, 75, 22, 8, SS_LEFT},
    {-1, L"#130", "色1(&1)", 62, 75, 19, 8, SS_LEFT},
    {1029, L"#130", "", 82, 74, 15, 10, SS_NOTIFY | kBorder | kGroup | kTab},
    {-1, L"#130", "色2(&2)", 112, 75, 19, 8, SS_LEFT},
    {1030, L"#130", "", 132, 74, 15, 10, SS_NOTIFY | kBorder | kGroup | kTab},
    {-1, L"#130", "表示する静止画のファイル若しくはフォルダ(&F)", 17, 93, 134, 8, SS_LEFT},
    {1015, L"#129", "", 15, 103, 140, 14, ES_AUTOHSCROLL | kBorder | kTab},
    {1016, L"#128", "...", 157, 103, 15, 14, BS_PUSHBUTTON | kTab},
    {-1, L"#128", "バージョン情報", 7, 136, 175, 64, BS_GROUPBOX},
    {-1, L"#130", "#128", 17, 151, 20, 20, SS_ICON},
    {1009, L"#130", "", 47, 151, 125, 8, SS_LEFT},
    {1010, L"#130", "", 47, 161, 125, 8, SS_LEFT},
    {-1, L"#130", "URL  ：", 47, 176, 22, 8, SS_LEFT},
    {1021, L"#130", "http://www.example.jp/whorlix/", 72, 176, 58, 8, SS_CENTER | SS_NOTIFY | kGroup | kTab},
    {-1, L"#130", "MAIL ：", 47, 186, 22, 8, SS_LEFT},
    {1022, L"#130", "support@example.jp", 72, 186, 61, 8, SS_CENTER | SS_NOTIFY | kGroup | kTab},
    {IDOK, L"#128", "OK", 77, 211, 50, 14, BS_DEFPUSHBUTTON | kTab},
    {IDCANCEL, L"#128", "キャンセル", 132, 211, 50, 14, BS_PUSHBUTTON | kTab},
};

constexpr LANGID kJapanese = 0x0411, kEnglish = 0x0409;

struct DialogTemplate {
    DWORD style, exStyle;
    short x, y, cx, cy;
    std::wstring menu, cls, caption, font;
    WORD points;
    std::vector<TemplateItem> items;
};

// Dialog template 102 of one language, read field by field.
bool ReadTemplate(HMODULE module, LANGID lang, DialogTemplate& t) {
    HRSRC res = ::FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(102), lang);
    if (res == nullptr)
        return false;
    const BYTE* base = static_cast<const BYTE*>(::LockResource(::LoadResource(module, res)));
    TemplateReader r(base);
    if (r.Get<WORD>() != 1 || r.Get<WORD>() != 0xFFFF) // extended template
        return false;
    r.Get<DWORD>(); // help id
    t.exStyle = r.Get<DWORD>();
    t.style = r.Get<DWORD>();
    WORD count = r.Get<WORD>();
    for (short* field : {&t.x, &t.y, &t.cx, &t.cy})
        *field = r.Get<short>();
    t.menu = r.NameOrOrdinal();
    t.cls = r.NameOrOrdinal();
    t.caption = r.NameOrOrdinal();
    t.points = r.Get<WORD>();
    r.Get<WORD>(); // weight
    r.Get<BYTE>(); // italic
    r.Get<BYTE>(); // charset
    t.font = r.NameOrOrdinal();
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword(base);
        TemplateItem item;
        r.Get<DWORD>(); // help id
        item.exStyle = r.Get<DWORD>();
        item.style = r.Get<DWORD>();
        for (short* field : {&item.x, &item.y, &item.cx, &item.cy})
            *field = r.Get<short>();
        item.id = static_cast<int>(r.Get<DWORD>());
        item.cls = r.NameOrOrdinal();
        // The system classes may be named instead of numbered; both make the same control.
        for (auto [name, ordinal] : {std::pair{L"button", L"#128"}, {L"edit", L"#129"}, {L"static", L"#130"}})
            if (_wcsicmp(item.cls.c_str(), name) == 0)
                item.cls = ordinal;
        item.title = r.NameOrOrdinal();
        r.Skip(r.Get<WORD>());
        t.items.push_back(item);
    }
    return true;
}

class ScrResources : public ::testing::Test {
protected:
    wt::TempDir dir;
    std::string scr = wt::CopyScrInto(dir);
    HMODULE module = nullptr;
    void SetUp() override {
        module = ::LoadLibraryExA(scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module != nullptr)
            ::FreeLibrary(module);
    }
    std::wstring String(UINT id) {
        const wchar_t* text = nullptr;
        int len = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
        return len > 0 ? std::wstring(text, static_cast<size_t>(len)) : std::wstring();
    }
};

} // namespace

TEST_F(ScrResources, DialogTemplateHasEveryControlInTabOrderWithItsCaptionPlaceAndStyle) {
    DialogTemplate t;
    ASSERT_TRUE(ReadTemplate(module, kJapanese, t));
    EXPECT_EQ(t.exStyle & WS_EX_APPWINDOW, static_cast<DWORD>(WS_EX_APPWINDOW));
    const DWORD frame = DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    EXPECT_EQ(t.style & frame, frame);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 191);
    EXPECT_EQ(t.cy, 235);
    EXPECT_EQ(t.menu, L""); // no menu
    EXPECT_EQ(t.cls, L"");  // the standard dialog class
    EXPECT_EQ(t.caption, Wide("環境設定"));
    EXPECT_EQ(t.points, 9);
    EXPECT_EQ(t.font, Wide("ＭＳ Ｐゴシック"));

    ASSERT_EQ(t.items.size(), sizeof kItems / sizeof kItems[0]);
    const std::set<int> tabStops = {1001, 1017, 1018, 1029, 1030, 1015, 1016, 1021, 1022, IDOK, IDCANCEL};
    for (const ExpectedItem& want : kItems) {
        const TemplateItem& item = t.items[static_cast<size_t>(&want - kItems)];
        SCOPED_TRACE("item " + std::to_string(&want - kItems) + " id " + std::to_string(item.id) + " class " +
                     std::string(item.cls.begin(), item.cls.end()));
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(_wcsicmp(item.cls.c_str(), want.cls), 0);
        EXPECT_EQ(item.title, want.title[0] == '#' ? std::wstring(L"#128") : Wide(want.title));
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        EXPECT_EQ(item.style & (WS_CHILD | WS_VISIBLE | want.style), WS_CHILD | WS_VISIBLE | want.style);
        EXPECT_EQ((item.style & WS_TABSTOP) != 0, tabStops.count(want.id) != 0);
        if (want.style == SS_LEFT && std::wstring(want.cls) == L"#130") {
            EXPECT_EQ(item.style & SS_TYPEMASK, static_cast<DWORD>(SS_LEFT));
        }
        if (want.id == 1001) {
            EXPECT_EQ(item.style & 0x2 /*TBS_VERT*/, 0u);
        }
    }
}

TEST_F(ScrResources, EnglishDialogTemplateKeepsTheJapaneseOneButForItsTextsFontAndWiderControls) {
    DialogTemplate ja, en;
    ASSERT_TRUE(ReadTemplate(module, kJapanese, ja));
    ASSERT_TRUE(ReadTemplate(module, kEnglish, en));
    EXPECT_EQ(en.font, L"Tahoma");
    EXPECT_EQ(std::vector<DWORD>({en.style, en.exStyle, DWORD(en.cx), DWORD(en.cy)}),
              std::vector<DWORD>({ja.style, ja.exStyle, DWORD(ja.cx), DWORD(ja.cy)}));
    ASSERT_EQ(en.items.size(), ja.items.size());
    for (size_t i = 0; i < ja.items.size(); ++i) {
        const TemplateItem &j = ja.items[i], &e = en.items[i];
        SCOPED_TRACE("item " + std::to_string(i) + " id " + std::to_string(j.id));
        EXPECT_EQ(std::vector<DWORD>({DWORD(e.id), e.style, e.exStyle, DWORD(e.x), DWORD(e.y), DWORD(e.cy)}),
                  std::vector<DWORD>({DWORD(j.id), j.style, j.exStyle, DWORD(j.x), DWORD(j.y), DWORD(j.cy)}));
        EXPECT_EQ(e.cls, j.cls);
        EXPECT_GE(e.cx, j.cx); // only widened where English needs the room
        // Plain ASCII reads the same under every code page.
        for (wchar_t c : e.title + en.caption)
            EXPECT_LT(static_cast<unsigned>(c), 0x80u);
    }
}

TEST_F(ScrResources, StringTableHoldsNameValidationMessagesAndPathWarning) {
    EXPECT_EQ(String(1), Wide("スクリーンセーバー【Whorlix】"));
    EXPECT_EQ(String(61712), Wide("整数を入力してください。"));
    EXPECT_EQ(String(61714), Wide("%1 から %2 までの整数を入力してください。"));
    EXPECT_EQ(String(2), Wide("256 文字以内で入力してください。"));
}

TEST_F(ScrResources, VersionResourceCarriesJapaneseStringsAndFixedVersions) {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(Wide(scr.c_str()).c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(Wide(scr.c_str()).c_str(), 0, size, block.data()));
    void* value = nullptr;
    UINT len = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", &value, &len));
    auto* fixed = static_cast<VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x0001000Au);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00070012u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x0001000Au);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00070012u);
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &len));
    ASSERT_GE(len, 4u);
    EXPECT_EQ(*static_cast<DWORD*>(value), 0x04B00411u);
    // The English face's entry comes second.
    ASSERT_EQ(len, 8u);
    EXPECT_EQ(static_cast<DWORD*>(value)[1], 0x04B00409u);
    auto str = [&](const wchar_t* name, const wchar_t* table = L"041104b0") {
        std::wstring path = std::wstring(L"\\StringFileInfo\\") + table + L"\\" + name;
        if (!::VerQueryValueW(block.data(), path.c_str(), &value, &len))
            return std::wstring(L"<missing>");
        return std::wstring(static_cast<wchar_t*>(value));
    };
    EXPECT_EQ(str(L"FileVersion"), L"1, 10, 7, 18");
    EXPECT_EQ(str(L"ProductVersion"), L"1.10");
    EXPECT_EQ(str(L"ProductName"), Wide("スクリーンセーバー【Whorlix】"));
    EXPECT_EQ(str(L"FileDescription"), Wide("現実世界を歪めるスクリーンセーバー"));
    EXPECT_EQ(str(L"InternalName"), L"Whorlix");
    EXPECT_EQ(str(L"OriginalFilename"), L"whorlix.scr");
    EXPECT_NE(str(L"CompanyName"), L"<missing>");
    EXPECT_NE(str(L"LegalCopyright"), L"<missing>");
    for (const wchar_t* name :
         {L"FileVersion", L"ProductVersion", L"InternalName", L"OriginalFilename", L"CompanyName", L"LegalCopyright"})
        EXPECT_EQ(str(name, L"040904b0"), str(name)) << name;
}

TEST(SettingsDialogWindow, TabOrderRunsThroughTheTabStopsAndOwnerIsDisabledWhileOpen) {
    // An owner window of this process, given to the saver as /c:HWND.
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    ct::ConfigRun run;
    ASSERT_TRUE(run.Open("/c:" + std::to_string(reinterpret_cast<INT_PTR>(owner))));
    EXPECT_EQ(::GetWindow(run.dlg, GW_OWNER), owner);
    EXPECT_TRUE(wt::WaitUntil([&] { return !::IsWindowEnabled(owner); }));
    EXPECT_NE(::GetWindowLongA(run.dlg, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    // Tab order from the slider, which has the focus at the start.
    EXPECT_TRUE(run.WaitFocus(run.Item(1001)));
    const int order[] = {1017, 1018, 1029, 1030, 1015, 1016, 1021, 1022, IDOK, IDCANCEL, 1001};
    HWND at = run.Item(1001);
    for (int id : order) {
        at = ::GetNextDlgTabItem(run.dlg, at, FALSE);
        EXPECT_EQ(::GetDlgCtrlID(at), id);
    }
    // Real Tab keys reach the swatch after the two time edits.
    for (int i = 0; i < 3; ++i) {
        run.Key(VK_TAB);
        EXPECT_TRUE(run.WaitFocus(run.Item(order[i])));
    }

    // The mnemonics of the labels lead to the controls after them.
    for (auto [key, id] : {std::pair{'1', 1029}, {'2', 1030}, {'u', 1017}, {'p', 1018}, {'f', 1015}, {'s', 1001}}) {
        ::PostMessageA(run.Focus(), WM_SYSCHAR, static_cast<WPARAM>(key), 0x20000001);
        EXPECT_TRUE(run.WaitFocus(run.Item(id))) << key;
    }

    ct::ConfigRun::Click(run.Item(IDCANCEL));
    EXPECT_TRUE(run.WaitEnded());
    EXPECT_TRUE(wt::WaitUntil([&] { return ::IsWindowEnabled(owner) != FALSE; }));
    EXPECT_FALSE(run.IniExists());
    ::DestroyWindow(owner);
}
