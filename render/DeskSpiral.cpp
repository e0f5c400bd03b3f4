#include "render/DeskSpiral.h"

#include "render/spiral/SpiralGeometry.h"

CDeskSpiral::CDeskSpiral(const MonitorLayout& layout, SpiralAllocationFault fault) : m_layout(layout) {
    for (size_t i = 0; i < layout.Sizes().size(); ++i)
        m_sets.push_back(std::make_unique<CSpiralFrameSet>(fault));
}

BuildResult CDeskSpiral::Build(HDC windowDC, const std::function<void(int, int)>& progress,
                               const std::function<bool()>& stopRequested) {
    const int steps = static_cast<int>(m_sets.size()) * kSpiralFrameCount;
    for (size_t i = 0; i < m_sets.size(); ++i) {
        const MonitorSize size = m_layout.Sizes()[i];
        const int first = static_cast<int>(i) * kSpiralFrameCount;
        const BuildResult built = m_sets[i]->BuildSpiralFrames(
            windowDC, ComputeSpiralGeometry(size.w, size.h), [&](int k) { progress(first + k, steps); }, stopRequested);
        if (built != BuildResult::Built)
            return built;
    }
    return BuildResult::Built;
}

void CDeskSpiral::Present(int k, HDC windowDC) const {
    const std::vector<MonitorRect>& monitors = m_layout.Monitors();
    for (size_t i = 0; i < monitors.size(); ++i)
        m_sets[m_layout.SizeIndexOf(i)]->PresentSpiralFrame(k, windowDC, monitors[i].x, monitors[i].y);
}
