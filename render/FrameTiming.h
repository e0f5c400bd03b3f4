#pragma once
// Frame pacing and the alternation of spiral and picture phases, as decisions free of the platform's clocks:
// the counter, the sleep and the millisecond tick count are passed in.
#include <cstdint>
#include <functional>

#include "settings/SaverSettings.h"

// The render thread's working values, derived once from the settings.
struct RenderTimings {
    int64_t frameIntervalMs = 31; // Speed + 20
    uint32_t spiralMs = 30000;    // SpiralTime x 1000, as an unsigned 32-bit tick span
    uint32_t pictureMs = 15000;   // PictureTime x 1000; 0: no picture phase ever begins
};

RenderTimings RenderTimingsFrom(const SaverSettings& settings);

// The frame interval in counter ticks: interval ms x ticks per second / 1000, truncated.
int64_t IntervalTicks(int64_t intervalMs, int64_t frequency);

// Paces frames on a high-resolution counter: every frame waits until interval ticks have passed since the
// counter value that ended the previous wait.
class CFramePacer {
public:
    CFramePacer(int64_t intervalTicks, int64_t startCounter) : m_interval(intervalTicks), m_last(startCounter) {}

    // Sleeps (1 ms at a time) until the target. The first test uses the previous wait's reading, not a fresh
    // one, so every frame sleeps at least once however long its work took, even with an interval of zero or
    // less: no setting can make the frame loop spin. The next target counts from the reading that ended this
    // wait, so a late frame moves the schedule and nothing is caught up. stopRequested, when given, is asked
    // before every sleep and ends the wait at once, so a long interval never delays a stop. Returns the number
    // of sleeps.
    int Wait(const std::function<int64_t()>& readCounter, const std::function<void()>& sleep1ms,
             const std::function<bool()>& stopRequested = nullptr);

    int64_t LastCounter() const { return m_last; }

private:
    int64_t m_interval;
    int64_t m_last;
};

// What one paced frame does.
enum class FrameAction {
    PresentSpiral, // copy spiral frame FrameIndex() to the window
    BeginPicture,  // draw the next picture: a picture phase starts
    None,          // a picture is showing; nothing to draw
};

// The phase state of the frame loop: spiral phases of spiralMs alternating with picture phases of pictureMs,
// timed on a wrapping unsigned 32-bit millisecond tick count, and the spiral frame counter.
class CPhaseClock {
public:
    CPhaseClock(const RenderTimings& timings, uint32_t now);

    // The first half of a paced frame, at tick count now. After BeginPicture the caller draws the picture and
    // then calls EndFrame, so the drawing time counts toward the picture phase.
    FrameAction BeginFrame(uint32_t now);
    // The second half: ends a picture phase whose time is up (the new spiral phase starts at a fresh tick
    // reading) and advances the frame counter, on every frame, also while a picture shows.
    void EndFrame(const std::function<uint32_t()>& tick);

    int FrameIndex() const { return m_frame; }
    bool ShowingPicture() const { return m_showingPicture; }
    uint32_t PhaseStart() const { return m_phaseStart; }

private:
    uint32_t m_spiralMs;
    uint32_t m_pictureMs;
    uint32_t m_phaseStart;
    bool m_showingPicture = false;
    int m_frame = 0;
};
