#pragma once
// A monitor layout as the rectangles and picture screens the picture code draws on.
#include <windows.h>

#include <vector>

#include "render/MonitorLayout.h"
#include "render/picture/PictureColours.h"
#include "render/picture/PictureSource.h"

inline std::vector<RECT> MonitorRects(const MonitorLayout& layout) {
    std::vector<RECT> rects;
    for (const MonitorRect& m : layout.Monitors())
        rects.push_back(RECT{m.x, m.y, m.x + m.w, m.y + m.h});
    return rects;
}

// The layout's monitors of window as the pictures see them: each with its size and the colour profile the system
// has for the monitor it lies on (the one holding its centre; the window's own for the preview's one area).
inline PictureScreens PictureScreensOf(HWND window, const MonitorLayout& layout) {
    PictureScreens screens{MonitorRects(layout), {}};
    std::vector<PictureKind> monitors;
    for (const MonitorRect& m : layout.Monitors()) {
        POINT centre{m.x + m.w / 2, m.y + m.h / 2};
        ::ClientToScreen(window, &centre);
        monitors.push_back(
            PictureKind{m.w, m.h, MonitorColourProfile(::MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST))});
    }
    screens.kinds = DistinctPictureKinds(monitors);
    return screens;
}
