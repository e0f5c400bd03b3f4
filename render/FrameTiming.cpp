#include "render/FrameTiming.h"

#include <algorithm>
#include <cstdint>

#include "render/spiral/SpiralGeometry.h"

RenderTimings RenderTimingsFrom(const SaverSettings& settings) {
    RenderTimings t;
    // In 64 bits, so a hand-edited Speed near the 32-bit limit cannot overflow.
    t.frameIntervalMs = static_cast<int64_t>(settings.Speed) + 20;
    // Durations are tick spans: multiplied modulo 2^32, like the tick count they are compared with.
    t.spiralMs = static_cast<uint32_t>(settings.SpiralTime) * 1000u;
    t.pictureMs = static_cast<uint32_t>(settings.PictureTime) * 1000u;
    return t;
}

int64_t IntervalTicks(int64_t intervalMs, int64_t frequency) {
    return intervalMs * frequency / 1000;
}

int64_t TicksToHundredNs(int64_t ticks, int64_t frequency) {
    if (ticks <= 0 || frequency <= 0)
        return 0;
    // Whole seconds and the rest apart: ticks x 10^7 alone would overflow for a Speed near the 32-bit limit.
    const int64_t seconds = ticks / frequency, rest = ticks % frequency;
    return seconds * 10000000 + (rest * 10000000 + frequency - 1) / frequency;
}

int CFramePacer::Wait(const std::function<int64_t()>& readCounter, const std::function<void(int64_t)>& waitFor,
                      const std::function<bool()>& stopRequested) {
    const int64_t target = m_last + m_interval;
    int waits = 0;
    bool timed = false; // the last wait was one to the target, not the shortest
    do {
        if (stopRequested && stopRequested())
            break;
        int64_t ticks = m_shortest;
        timed = false;
        if (m_waits == PacerWaits::ToTheTarget) {
            // A fresh reading: the frame's own work has used part of the interval since the last one.
            const int64_t left = target - readCounter();
            if (left > 0) {
                ticks = waits == 0 && left > m_lead ? left - m_lead : left;
                timed = true;
            }
        }
        waitFor(ticks);
        ++waits;
        m_last = readCounter();
        // A wait that ended before the target was led by too much: half of it is kept, and the rest is waited for
        // to the target itself.
        if (timed && m_last < target)
            m_lead /= 2;
    } while (m_last < target);
    if (timed)
        LearnLateness(m_last - target);
    return waits;
}

// A timer wakes its thread a little after the time it was set for (under Wine about half a millisecond, on Windows up
// to one), which would make every frame that much longer than its interval. The least lateness of the last
// kLatenessWindow timed waits is waited less from then on: rarely enough to wake before the target, which then
// costs one more short wait.
void CFramePacer::LearnLateness(int64_t lateness) {
    if (lateness < m_leastLateness)
        m_leastLateness = lateness;
    if (++m_latenessSeen < kLatenessWindow)
        return;
    // At most two of the shortest waits: a loaded machine's late wake-ups are no timer's lateness.
    m_lead = std::min(m_lead + m_leastLateness, 2 * m_shortest);
    m_leastLateness = INT64_MAX;
    m_latenessSeen = 0;
}

CPhaseClock::CPhaseClock(const RenderTimings& timings, uint32_t now)
    : m_spiralMs(timings.spiralMs), m_pictureMs(timings.pictureMs), m_phaseStart(now) {}

// Phases are judged by the time elapsed since the phase start, formed as an unsigned 32-bit difference: it
// stays right when the tick count wraps (every 49.7 days), where comparing phase start + duration with the
// tick count would end a spiral phase at once and flash a picture for one frame whenever the sum wraps.
FrameAction CPhaseClock::BeginFrame(uint32_t now) {
    if (m_showingPicture)
        return FrameAction::None;
    const uint32_t elapsed = now - m_phaseStart;
    if (m_pictureMs == 0 || elapsed <= m_spiralMs)
        return FrameAction::PresentSpiral;
    m_showingPicture = true;
    return FrameAction::BeginPicture;
}

void CPhaseClock::EndFrame(const std::function<uint32_t()>& tick) {
    if (m_showingPicture) {
        const uint32_t elapsed = tick() - m_phaseStart;
        // Compared in 64 bits so that the two durations together cannot wrap.
        if (static_cast<uint64_t>(elapsed) > static_cast<uint64_t>(m_spiralMs) + m_pictureMs) {
            m_showingPicture = false;
            m_phaseStart = tick();
        }
    }
    m_frame = (m_frame + 1) % kSpiralFrameCount;
}
