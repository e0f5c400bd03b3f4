#include "render/FrameWaits.h"

#include <mmsystem.h>

#include <algorithm>

// Not yet in every header set; the value is the system's.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

CFrameWaits::CFrameWaits(const RenderSignals& signals, int64_t counterFrequency, bool fineTimer)
    : m_signals(signals), m_frequency(counterFrequency) {
    if (fineTimer)
        m_timer.Reset(
            ::CreateWaitableTimerExA(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
    if (!m_timer.IsValid())
        m_bFinePeriod = ::timeBeginPeriod(1) == TIMERR_NOERROR;
}

CFrameWaits::~CFrameWaits() {
    if (m_bFinePeriod)
        ::timeEndPeriod(1);
}

void CFrameWaits::WaitTicks(int64_t ticks) {
    if (m_timer.IsValid()) {
        // One-shot, set anew each frame: a periodic high-resolution timer fails on some systems that have the
        // one-shot kind, and the next target depends on when this wait ends anyway.
        LARGE_INTEGER due{};
        due.QuadPart = -std::max<int64_t>(1, TicksToHundredNs(ticks, m_frequency));
        if (::SetWaitableTimer(m_timer.Get(), &due, 0, nullptr, nullptr, FALSE)) {
            const HANDLE handles[2] = {m_signals.stopEvent, m_timer.Get()};
            ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
            return;
        }
    }
    ::WaitForSingleObject(m_signals.stopEvent, 1);
}

void CFrameWaits::WhileDisplaysOff() {
    const HANDLE handles[2] = {m_signals.stopEvent, m_signals.displayChanged};
    // The state is stored before the event is set: a change between the test and the wait still ends the wait.
    while (m_signals.displayState.load() == static_cast<LONG>(DisplayState::Off) && m_signals.stopRequested.load() == 0)
        ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
}
