#pragma once
// The 15 pre-built one-bit spiral frames and the off-screen surface they are drawn in and copied from.
#include <windows.h>

#include <functional>

#include "fw/Gdi.h"
#include "render/spiral/SpiralGeometry.h"

enum class BuildResult {
    Built,      // all 15 frames exist
    Stopped,    // a stop was requested; later frames are not built
    OutOfMemory // the off-screen surface, the rows, a frame image or a vertex buffer could not be allocated
};

// Makes one of the frame builder's allocations fail, for tests of the out-of-memory path: the allocation with
// index failingAllocation (0 the off-screen surface, 1 the rows every frame is rasterised into, then per frame k
// 2 + 2k its vertex buffer and 3 + 2k its image); -1, the default, fails none. It fails once: a later build of the same
// set allocates normally.
struct SpiralAllocationFault {
    int failingAllocation = -1;
};

// Owns the frames of one render-thread run and the memory surface they live in.
class CSpiralFrameSet {
public:
    explicit CSpiralFrameSet(SpiralAllocationFault fault = {}) : m_fault(fault) {}
    ~CSpiralFrameSet() { Release(); }
    CSpiralFrameSet(const CSpiralFrameSet&) = delete;
    CSpiralFrameSet& operator=(const CSpiralFrameSet&) = delete;

    // Creates the off-screen surface compatible with windowDC and builds frames 0 to 14 in order, each image made
    // from the rasterised rows of its polygon. For frame k, progress(k) runs once after its polygon is computed and
    // before its image is drawn. stopRequested is asked
    // before frame 0 and after each frame. On OutOfMemory everything made so far is released again.
    BuildResult BuildSpiralFrames(HDC windowDC, const SpiralGeometry& geometry,
                                  const std::function<void(int)>& progress, const std::function<bool()>& stopRequested);

    // Copies frame k to the client area with its top-left at (x, y), in the window surface's current colours: bit 0
    // takes its text colour, bit 1 its background colour. A frame that was never built is not presented.
    void PresentSpiralFrame(int k, HDC windowDC, int x = 0, int y = 0) const;

    // Puts the surface's initial image back into it, so no frame stays selected.
    void SelectInitialImage();
    // Puts the initial image back (if not done already), then deletes the frames and the surface.
    void Release();

    int BuiltCount() const { return m_nBuilt; }
    HBITMAP Frame(int k) const { return k >= 0 && k < m_nBuilt ? m_frames[k].GetSafeHandle() : nullptr; }

private:
    SpiralAllocationFault m_fault;
    CMemDC m_memDC;
    HGDIOBJ m_hInitialBitmap = nullptr;
    CBitmap m_frames[kSpiralFrameCount];
    int m_nBuilt = 0;
    SpiralGeometry m_geometry;
};
