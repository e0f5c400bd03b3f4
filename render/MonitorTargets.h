#pragma once
// A monitor layout as the rectangles and sizes the picture code draws on.
#include <windows.h>

#include <vector>

#include "render/MonitorLayout.h"

inline std::vector<RECT> MonitorRects(const MonitorLayout& layout) {
    std::vector<RECT> rects;
    for (const MonitorRect& m : layout.Monitors())
        rects.push_back(RECT{m.x, m.y, m.x + m.w, m.y + m.h});
    return rects;
}

inline std::vector<SIZE> MonitorSizes(const MonitorLayout& layout) {
    std::vector<SIZE> sizes;
    for (const MonitorSize& s : layout.Sizes())
        sizes.push_back(SIZE{s.w, s.h});
    return sizes;
}
