#pragma once
// The desk the full-screen saver covers: the virtual screen that spans every monitor, and the monitors in it.
#include <windows.h>

#include <vector>

#include "render/MonitorLayout.h"

struct DeskLayout {
    RECT virtualScreen{};              // in screen coordinates; left and top are negative for a monitor left of or
                                       // above the primary
    std::vector<MonitorRect> monitors; // in the client coordinates of a window covering virtualScreen
};

// The desk as the system reports it now.
DeskLayout ReadDeskLayout();
