#include "render/SpiralFrames.h"

#include <cstddef>
#include <memory>
#include <new>

static_assert(sizeof(SpiralPoint) == sizeof(POINT) && offsetof(POINT, x) == offsetof(SpiralPoint, x) &&
                  offsetof(POINT, y) == offsetof(SpiralPoint, y),
              "the vertex buffer is drawn as an array of POINT");

namespace {

// Counts the builder's allocations so a test can make exactly one of them fail; the fault is spent when it fires.
class CAllocationCounter {
public:
    explicit CAllocationCounter(SpiralAllocationFault& fault) : m_fault(fault) {}
    bool NextFails() {
        if (m_next++ != m_fault.failingAllocation)
            return false;
        m_fault.failingAllocation = -1;
        return true;
    }

private:
    SpiralAllocationFault& m_fault;
    int m_next = 0;
};

} // namespace

BuildResult CSpiralFrameSet::BuildSpiralFrames(HDC windowDC, const SpiralGeometry& geometry,
                                               const std::function<void(int)>& progress,
                                               const std::function<bool()>& stopRequested) {
    Release();
    m_geometry = geometry;
    CAllocationCounter allocations(m_fault);
    if (allocations.NextFails() || !m_memDC.Create(windowDC))
        return BuildResult::OutOfMemory;
    m_hInitialBitmap = ::GetCurrentObject(m_memDC, OBJ_BITMAP);

    const RECT whole{0, 0, geometry.w, geometry.h};
    if (stopRequested())
        return BuildResult::Stopped;
    for (int k = 0; k < kSpiralFrameCount; ++k) {
        // One frame's vertices at a time: 24 R points, released as soon as the frame is drawn.
        std::unique_ptr<SpiralPoint[]> vertices(
            allocations.NextFails() ? nullptr : new (std::nothrow) SpiralPoint[geometry.VertexCount()]);
        if (!vertices) {
            Release();
            return BuildResult::OutOfMemory;
        }
        BuildSpiralPolygon(k * kSpiralDegreesPerFrame, geometry, vertices.get());
        progress(k);

        if (allocations.NextFails() || !m_frames[k].CreateBitmap(geometry.w, geometry.h, 1, 1, nullptr)) {
            Release();
            return BuildResult::OutOfMemory;
        }
        ::SelectObject(m_memDC, m_frames[k]);
        m_nBuilt = k + 1;
        // Clear to bit 0, then the arms: even-odd interior in bit 1 (the default white brush), one-pixel outline
        // in bit 0 (the default black pen).
        ::SetBkColor(m_memDC, RGB(0, 0, 0));
        ::ExtTextOutA(m_memDC, 0, 0, ETO_OPAQUE, &whole, nullptr, 0, nullptr);
        ::Polygon(m_memDC, reinterpret_cast<const POINT*>(vertices.get()), geometry.VertexCount());
        vertices.reset();
        if (stopRequested())
            return BuildResult::Stopped;
    }
    return BuildResult::Built;
}

void CSpiralFrameSet::PresentSpiralFrame(int k, HDC windowDC) const {
    if (m_memDC.IsNull() || k < 0 || k >= m_nBuilt)
        return;
    ::SelectObject(m_memDC, m_frames[k]);
    ::BitBlt(windowDC, 0, 0, m_geometry.w, m_geometry.h, m_memDC, 0, 0, SRCCOPY);
}

void CSpiralFrameSet::SelectInitialImage() {
    if (!m_memDC.IsNull() && m_hInitialBitmap != nullptr)
        ::SelectObject(m_memDC, m_hInitialBitmap);
}

void CSpiralFrameSet::Release() {
    // A bitmap still selected into a surface cannot be deleted: the initial image goes back in first.
    SelectInitialImage();
    for (CBitmap& frame : m_frames)
        frame.DeleteObject();
    m_nBuilt = 0;
    m_memDC.Delete();
    m_hInitialBitmap = nullptr;
}
