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

// Counter ticks as the 100 ns units of a waitable timer's due time, rounded up so that a wait never ends before
// the counter has moved that far; without overflow for any interval a stored Speed can give.
int64_t TicksToHundredNs(int64_t ticks, int64_t frequency);

// How a frame waits for its target.
enum class PacerWaits {
    ToTheTarget, // one timed wait that ends at the target: the system has high-resolution timers
    InSteps,     // the shortest wait (a 1 ms sleep) again and again until the target has passed: it has none
};

// Paces frames on a high-resolution counter: every frame waits until interval ticks have passed since the
// counter value that ended the previous wait.
class CFramePacer {
public:
    // shortestTicks is the shortest wait: each step of InSteps, and the one wait of a frame that is late already.
    CFramePacer(int64_t intervalTicks, int64_t startCounter, PacerWaits waits = PacerWaits::InSteps,
                int64_t shortestTicks = 1)
        : m_interval(intervalTicks), m_last(startCounter), m_waits(waits), m_shortest(shortestTicks) {}

    // Waits until the target: waitFor(ticks) waits about that many counter ticks. The first test uses the previous
    // wait's reading, not a fresh one, so every frame waits at least once however long its work took, even with an
    // interval of zero or less: no setting can make the frame loop spin. A frame that is late already waits once,
    // the shortest wait. ToTheTarget waits for the whole rest of the interval at once, and again only for what is
    // left should a wait end early. The next target counts from the reading that ended this wait, so a late frame
    // moves the schedule and nothing is caught up. stopRequested, when given, is asked before every wait and ends
    // the wait at once. Returns the number of waits.
    int Wait(const std::function<int64_t()>& readCounter, const std::function<void(int64_t)>& waitFor,
             const std::function<bool()>& stopRequested = nullptr);

    int64_t LastCounter() const { return m_last; }

    // How much earlier than the target a wait to it is set to end: the timer's own lateness, as learnt.
    int64_t Lead() const { return m_lead; }
    static constexpr int kLatenessWindow = 16;

private:
    void LearnLateness(int64_t lateness);

    int64_t m_interval;
    int64_t m_last;
    PacerWaits m_waits;
    int64_t m_shortest;
    int64_t m_lead = 0;
    int64_t m_leastLateness = INT64_MAX;
    int m_latenessSeen = 0;
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
