#include "saver/DeskLayout.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM param) {
    auto* desk = reinterpret_cast<DeskLayout*>(param);
    const RECT& v = desk->virtualScreen;
    desk->monitors.push_back(
        MonitorRect{rect->left - v.left, rect->top - v.top, rect->right - rect->left, rect->bottom - rect->top});
    return TRUE;
}

} // namespace

DeskLayout ReadDeskLayout() {
    DeskLayout desk;
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), h = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // A system that reports no virtual screen has the primary screen only.
    desk.virtualScreen = w > 0 && h > 0 ? RECT{x, y, x + w, y + h}
                                        : RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    // No monitors listed leaves the render thread the whole window as one monitor.
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&desk));
    return desk;
}
