#include "fw/DialogTextFit.h"

#include <string>
#include <vector>

#include "fw/Gdi.h"
#include "fw/TextFitLayout.h"
#include "fw/Wnd.h"

namespace {

// A control of the dialog as the fitting sees it.
struct Control {
    HWND hwnd;
    DWORD style;
    bool isGroup; // a group box, the room of the controls inside it
    bool isText;  // a static that draws its caption as text
    bool wraps;   // SS_LEFT, SS_CENTER and SS_RIGHT break their text at words
};

Control Describe(HWND hwnd) {
    char cls[16] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    const DWORD type = style & SS_TYPEMASK;
    const bool isStatic = ::lstrcmpiA(cls, "Static") == 0;
    const bool wraps = isStatic && (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    return {hwnd, style, ::lstrcmpiA(cls, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX,
            wraps || (isStatic && (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP)), wraps};
}

// The caption's extent in the control's own font: on one line, or wrapped at width when width is not 0.
SIZE MeasureCaption(const Control& control, int width) {
    const std::string text = WindowText(control.hwnd);
    CClientDC dc(control.hwnd);
    CSelectGuard font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(control.hwnd, WM_GETFONT, 0, 0)));
    RECT rc{0, 0, width, 0};
    const UINT format = DT_CALCRECT | DT_EXPANDTABS | (width == 0 ? DT_SINGLELINE : DT_WORDBREAK) |
                        ((control.style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
    return {rc.right, rc.bottom};
}

// What the control's frame adds around its client area.
SIZE FrameSize(HWND hwnd) {
    RECT window, client;
    ::GetWindowRect(hwnd, &window);
    ::GetClientRect(hwnd, &client);
    return {window.right - window.left - client.right, window.bottom - window.top - client.bottom};
}

} // namespace

void FitDialogTexts(HWND dlg) {
    std::vector<Control> controls;
    std::vector<FitItem> items;
    for (HWND hwnd = ::GetWindow(dlg, GW_CHILD); hwnd != nullptr; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
        RECT rc;
        ::GetWindowRect(hwnd, &rc);
        ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
        controls.push_back(Describe(hwnd));
        FitItem item;
        item.box = {rc.left, rc.top, rc.right, rc.bottom};
        item.isGroup = controls.back().isGroup;
        if (controls.back().isText)
            item.textWidth = MeasureCaption(controls.back(), 0).cx + FrameSize(hwnd).cx;
        items.push_back(item);
    }
    // The room keeps a margin of 4 dialog units (a character's width) from the right edge of its group box.
    RECT client, margin{0, 0, 4, 0};
    ::GetClientRect(dlg, &client);
    ::MapDialogRect(dlg, &margin);
    const std::vector<FitItem> before = items;
    const std::vector<int> lacking =
        FitTextsOnTheirRows(items, {client.left, client.top, client.right, client.bottom}, margin.right);

    for (size_t i = 0; i < items.size(); ++i) {
        const FitBox &box = items[i].box, &was = before[i].box;
        int height = box.bottom - box.top;
        if (lacking[i] > 0 && controls[i].wraps) {
            // Too long for its room even so: as tall as the lines it wraps to at the width it now has. The
            // controls below stay where they are; the text is whole, not cut.
            const SIZE frame = FrameSize(controls[i].hwnd);
            const int wrapped = MeasureCaption(controls[i], box.Width() - frame.cx).cy + frame.cy;
            height = wrapped > height ? wrapped : height;
        }
        if (box.left != was.left || box.right != was.right || height != was.bottom - was.top)
            ::SetWindowPos(controls[i].hwnd, nullptr, box.left, box.top, box.Width(), height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
