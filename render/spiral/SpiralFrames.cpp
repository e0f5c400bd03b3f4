#include "render/spiral/SpiralFrames.h"

#include <cstddef>
#include <memory>
#include <new>

#include "render/spiral/SpiralRaster.h"

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

    if (stopRequested())
        return BuildResult::Stopped;
    // The rows of one frame, made once and written again for every frame: fresh memory costs a page fault per
    // page when it is first written, more than rasterising into it.
    const size_t rowBytes = OneBitRowStride(geometry.w) * static_cast<size_t>(geometry.h);
    std::unique_ptr<uint8_t[]> rows(allocations.NextFails() ? nullptr : new (std::nothrow) uint8_t[rowBytes]);
    if (!rows) {
        Release();
        return BuildResult::OutOfMemory;
    }
    for (int k = 0; k < kSpiralFrameCount; ++k) {
        // One frame's vertices at a time: 24 R points, released as soon as the frame is rasterised.
        std::unique_ptr<SpiralPoint[]> vertices(
            allocations.NextFails() ? nullptr : new (std::nothrow) SpiralPoint[geometry.VertexCount()]);
        if (!vertices) {
            Release();
            return BuildResult::OutOfMemory;
        }
        BuildSpiralPolygon(k * kSpiralDegreesPerFrame, geometry, vertices.get());
        progress(k);
        // Even-odd interior in bit 1, one-pixel outline in bit 0, laid out as a monochrome bitmap takes its bits.
        RasteriseSpiralPolygon(vertices.get(), geometry.VertexCount(), geometry.w, geometry.h, rows.get());
        vertices.reset();
        if (allocations.NextFails() || !m_frames[k].CreateBitmap(geometry.w, geometry.h, 1, 1, rows.get())) {
            Release();
            return BuildResult::OutOfMemory;
        }
        m_nBuilt = k + 1;
        if (stopRequested())
            return BuildResult::Stopped;
    }
    return BuildResult::Built;
}

void CSpiralFrameSet::PresentSpiralFrame(int k, HDC windowDC, int x, int y) const {
    if (m_memDC.IsNull() || k < 0 || k >= m_nBuilt)
        return;
    ::SelectObject(m_memDC, m_frames[k]);
    ::BitBlt(windowDC, x, y, m_geometry.w, m_geometry.h, m_memDC, 0, 0, SRCCOPY);
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
