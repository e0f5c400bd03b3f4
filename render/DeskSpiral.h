#pragma once
// The spiral on every monitor of a saver window: one set of 15 frames per distinct monitor size.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "render/MonitorLayout.h"
#include "render/spiral/SpiralFrames.h"

// Owns the frame sets of one render-thread run and presents the same frame index on every monitor, each centred
// on its own monitor with the geometry of that monitor's size.
class CDeskSpiral {
public:
    // layout must outlive this object.
    explicit CDeskSpiral(const MonitorLayout& layout, SpiralAllocationFault fault = {});
    CDeskSpiral(const CDeskSpiral&) = delete;
    CDeskSpiral& operator=(const CDeskSpiral&) = delete;

    // Builds the frames of every distinct size, one size after the other. progress(step, steps) runs once per
    // frame built, with step counting 0 to steps - 1 across all sizes (15 steps per size). stopRequested is asked
    // before and after each frame. Stops at the first result that is not Built.
    BuildResult Build(HDC windowDC, const std::function<void(int step, int steps)>& progress,
                      const std::function<bool()>& stopRequested);

    // Copies frame k onto every monitor.
    void Present(int k, HDC windowDC) const;

private:
    const MonitorLayout& m_layout;
    std::vector<std::unique_ptr<CSpiralFrameSet>> m_sets; // one per entry of m_layout.Sizes()
};
