#pragma once
// A saver window's render thread: started with the window, stopped and joined before the window goes.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "fw/Handles.h"
#include "render/FrameWaits.h"
#include "render/MonitorLayout.h"
#include "render/spiral/SpiralFrames.h"

// Failures a test can ask of a render thread, to reach the paths that handle them; none by default.
struct RenderFaults {
    SpiralAllocationFault frameAllocation; // one allocation of the frame builder fails
    bool noWindowDC = false;               // the window's device context cannot be had
    bool noThread = false;                 // the thread cannot be created
    bool noComApartment = false;           // neither it nor its picture thread can enter a COM apartment
    bool throwWhileListing = false;        // the run throws where it starts the pictures (runs out of memory)
    bool noFineTimer = false;              // the system has no high-resolution waitable timers
};

// What a render thread works from, handed over by value when it starts.
struct RenderRequest {
    HWND hWnd = nullptr;      // the window it shows and draws on
    std::string settingsFile; // read once, when the thread starts
    // The monitors the window spans, in its client coordinates; each shows the saver fitted to itself. None: the
    // whole client area is one monitor (the preview).
    std::vector<MonitorRect> monitors;
    RenderFaults faults;
};

// Owns one render thread, the stop request it polls and the display state it draws for. The owner starts it once
// its window exists and stops it (which waits for the thread to end) before the window is destroyed.
class CRenderThread {
public:
    CRenderThread();
    ~CRenderThread() { Stop(); }
    CRenderThread(const CRenderThread&) = delete;
    CRenderThread& operator=(const CRenderThread&) = delete;

    // Starts the thread at the lowest priority; false when it cannot be created or one runs already.
    bool Start(RenderRequest request);
    // Requests the stop and waits without a time limit until the thread has ended, answering messages sent
    // to this thread's windows meanwhile (the render thread's show call needs them). Start may be called again
    // afterwards.
    void Stop();
    // Tells the thread, running or still to start, whether the displays are off: nothing is drawn then.
    void SetDisplayState(DisplayState state);

private:
    static DWORD WINAPI ThreadProc(LPVOID param);

    RenderRequest m_request;
    // The two threads share two data, each written by the window's thread and read with no lock by the render
    // thread, and each with an event that wakes the render thread's waits: the stop request, set to 1 once by
    // Stop, and the console display state, set on every change the system reports.
    std::atomic<LONG> m_bStopRequested{0};
    CHandle m_hStopEvent;
    std::atomic<LONG> m_nDisplayState{static_cast<LONG>(DisplayState::On)};
    CHandle m_hDisplayChanged;
    const RenderSignals m_signals;
    CHandle m_hRenderThread;
};

// Waits for handle without a time limit while still answering messages sent to this thread's windows, so a
// thread blocked in a call that needs this thread (showing a window) can finish.
void WaitLettingSentMessagesThrough(HANDLE handle);
