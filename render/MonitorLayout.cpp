#include "render/MonitorLayout.h"

MonitorLayout::MonitorLayout(const std::vector<MonitorRect>& monitors, int32_t clientW, int32_t clientH) {
    for (const MonitorRect& m : monitors)
        if (m.w > 0 && m.h > 0)
            m_monitors.push_back(m);
    if (m_monitors.empty())
        m_monitors.push_back(MonitorRect{0, 0, clientW, clientH});
    for (const MonitorRect& m : m_monitors) {
        size_t i = 0;
        while (i < m_sizes.size() && (m_sizes[i].w != m.w || m_sizes[i].h != m.h))
            ++i;
        if (i == m_sizes.size())
            m_sizes.push_back(MonitorSize{m.w, m.h});
        m_sizeIndex.push_back(i);
    }
}
