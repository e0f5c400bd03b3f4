#pragma once
// The monitors a saver window spans, in its client coordinates, and which of them share a size. Platform-free.
#include <cstddef>
#include <cstdint>
#include <vector>

// One monitor's rectangle in the window's client coordinates.
struct MonitorRect {
    int32_t x = 0, y = 0, w = 0, h = 0;
};

inline bool operator==(const MonitorRect& a, const MonitorRect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

// A monitor size; equal sizes share their spiral frames and fitted pictures.
struct MonitorSize {
    int32_t w = 0, h = 0;
};

// What a render thread draws on: every monitor shows the same, fitted to itself.
class MonitorLayout {
public:
    // The given monitors; none (the preview, or a window handed no monitors) means the whole client area of
    // clientW x clientH is the one monitor. Monitors without area are left out.
    MonitorLayout(const std::vector<MonitorRect>& monitors, int32_t clientW, int32_t clientH);

    const std::vector<MonitorRect>& Monitors() const { return m_monitors; }
    // The distinct sizes, in the order the monitors first show them.
    const std::vector<MonitorSize>& Sizes() const { return m_sizes; }
    // Index into Sizes() of monitor i's size.
    size_t SizeIndexOf(size_t monitor) const { return m_sizeIndex[monitor]; }

private:
    std::vector<MonitorRect> m_monitors;
    std::vector<MonitorSize> m_sizes;
    std::vector<size_t> m_sizeIndex;
};
