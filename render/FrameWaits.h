#pragma once
// The render thread's waits between frames: for a frame's target, and while the displays are off.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "fw/Handles.h"
#include "render/FrameTiming.h"

// Whether the displays show what is drawn. Of the console display states the system reports (off, on, dimmed), only
// off stops the drawing: dimmed is still seen.
enum class DisplayState : LONG { Off = 0, On = 1 };

// What the window's thread tells a running render thread, each with the event that ends its waits at once. The
// flags are what the render thread tests; the events only wake it.
struct RenderSignals {
    const std::atomic<LONG>& stopRequested;
    HANDLE stopEvent; // manual reset: set with the stop request, and stays set
    const std::atomic<LONG>& displayState;
    HANDLE displayChanged; // set after every change of the display state
};

// Owns what the frame loop waits with. One timed wait a frame on a high-resolution waitable timer, where the system
// has one (Windows 10 1803 and later): the processor sleeps until the frame is due, and no system timer period is
// asked for. Without one (the call fails on older systems) frames wait in 1 ms steps, and for as long as the loop
// runs the system timer is asked for 1 ms periods: the default of about 15.6 ms would stretch every step to a whole
// tick and a 20 ms frame to about 31 ms.
class CFrameWaits {
public:
    // fineTimer false stands for a system without high-resolution timers (a test's fault).
    CFrameWaits(const RenderSignals& signals, int64_t counterFrequency, bool fineTimer = true);
    ~CFrameWaits();
    CFrameWaits(const CFrameWaits&) = delete;
    CFrameWaits& operator=(const CFrameWaits&) = delete;

    PacerWaits Kind() const { return m_timer.IsValid() ? PacerWaits::ToTheTarget : PacerWaits::InSteps; }
    // The pacer's wait: about ticks counter ticks on the timer, one 1 ms step without it; a stop ends it at once.
    void WaitTicks(int64_t ticks);
    // Returns once the displays show again (on or dimmed) or a stop is requested; at once where they are not off.
    // Nothing is drawn meanwhile, and the thread sleeps until the window's thread wakes it.
    void WhileDisplaysOff();

private:
    const RenderSignals& m_signals;
    int64_t m_frequency;
    CHandle m_timer;
    bool m_bFinePeriod = false;
};
