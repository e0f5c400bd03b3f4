#include "render/RenderThread.h"

#include <mmsystem.h>

#include <atomic>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fw/FailureLog.h"
#include "fw/Gdi.h"
#include "render/DeskSpiral.h"
#include "render/FrameTiming.h"
#include "render/LoadingScreen.h"
#include "render/MonitorTargets.h"
#include "render/PictureAhead.h"
#include "render/PicturePhase.h"
#include "render/PictureThread.h"
#include "render/picture/PictureSource.h"
#include "render/spiral/SpiralFrames.h"
#include "settings/SettingsStore.h"

namespace {

// Whatever of the window lies outside every monitor (monitors of different sizes leave gaps in the rectangle
// that spans them) is black, and stays so: nothing else ever draws there. With one monitor there is no gap.
void BlackenOutsideMonitors(HDC dc, const RECT& client, const MonitorLayout& layout) {
    const CRgn outside(::CreateRectRgnIndirect(&client));
    for (const RECT& monitor : MonitorRects(layout)) {
        const CRgn covered(::CreateRectRgnIndirect(&monitor));
        if (!outside.IsNull() && !covered.IsNull())
            ::CombineRgn(outside, outside, covered, RGN_DIFF);
    }
    if (!outside.IsNull())
        ::FillRgn(dc, outside, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

// One run of a saver window's render thread: everything it creates it owns, and gives back before it returns.
class CRenderRun {
public:
    CRenderRun(const RenderRequest& request, const RenderSignals& signals)
        : m_request(request), m_hWnd(request.hWnd), m_signals(signals) {}
    void Run();

private:
    bool StopRequested() const { return m_signals.stopRequested.load() != 0; }
    // The loading screen, the frames and the frame loop; false when there is nothing to draw with.
    bool DrawUntilStopped(const SaverSettings& settings, const RenderTimings& timings, const RECT& client,
                          const MonitorLayout& layout);
    // pictures is null where no picture thread runs: every picture phase then shows the built-in picture.
    void RunFrameLoop(HDC dc, const RenderTimings& timings, const PictureScreens& screens, const CDeskSpiral& spiral,
                      CPictureHandoff* pictures);
    // Lets the window's own thread know that drawing is due. Wine copies a window's drawing to the display when the
    // thread that owns the window runs, and otherwise only about every 94 ms; that thread sleeps in its message
    // loop while this one draws, so two of every three frames would never reach the screen. A posted no-op message
    // wakes it (default processing ignores WM_NULL: no handler of ours runs). On Windows, whose compositor shows
    // every frame anyway, it costs a post and an empty dispatch.
    void LetTheWindowShowTheDrawing() const { ::PostMessageA(m_hWnd, WM_NULL, 0, 0); }

    const RenderRequest& m_request;
    HWND m_hWnd;
    const RenderSignals& m_signals;
};

void CRenderRun::Run() {
    const SaverSettings settings = LoadSettings(m_request.settingsFile.c_str());
    const RenderTimings timings = RenderTimingsFrom(settings);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const MonitorLayout layout(m_request.monitors, client.right, client.bottom);

    // Showing the window sends messages to the window's thread. That thread may already be destroying the
    // window and waiting for us; its wait lets sent messages through, so this call cannot deadlock. A window
    // that is already going away is not shown at all.
    if (StopRequested())
        return;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);

    // Without its device context or its frames the saver has nothing to show: the window is closed, which ends
    // the saver the ordinary way in both the full-screen and the preview form, instead of leaving a window that
    // never draws. Everything the run made is given back before that.
    if (!DrawUntilStopped(settings, timings, client, layout))
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

bool CRenderRun::DrawUntilStopped(const SaverSettings& settings, const RenderTimings& timings, const RECT& client,
                                  const MonitorLayout& layout) {
    const CClientDC dc(m_hWnd);
    if (dc.IsNull() || m_request.faults.noWindowDC)
        return false;
    BlackenOutsideMonitors(dc, client, layout);
    // Each monitor's colour profile is asked for once a run: a change of monitors starts a new run.
    const PictureScreens screens = PictureScreensOf(m_hWnd, layout);
    CLoadingScreen loading;
    loading.Show(dc, layout, screens, settings.FrontColor, settings.BackColor);
    LetTheWindowShowTheDrawing();

    // The pictures may live on a drive that answers late or not at all (a sleeping network drive): every file-system
    // call of theirs is the picture thread's, started now, so the folder search and the first picture go on while
    // the frames are built and the spiral never waits for them. No picture phase ever comes without a picture time,
    // and then nothing of the pictures is looked at.
    std::optional<CPictureThread> pictures;
    if (timings.pictureMs != 0)
        pictures.emplace(settings.PictureFile, screens.kinds.kinds, !m_request.faults.noComApartment);
    CDeskSpiral spiral(layout, m_request.faults.frameAllocation);
    if (m_request.faults.throwWhileListing)
        throw std::bad_alloc();
    // The loading screen ends when the frames are built, whether or not the pictures are ready.
    const BuildResult built = spiral.Build(
        dc,
        [&](int step, int steps) {
            loading.Progress(step, steps);
            LetTheWindowShowTheDrawing();
        },
        [this] { return StopRequested(); });
    if (built == BuildResult::OutOfMemory)
        return false;
    // After a stop during building the loop sees the same request before its first frame and ends.
    RunFrameLoop(dc, timings, screens, spiral, pictures ? &pictures->Handoff() : nullptr);
    // Leaving gives back the frames, the font selection and the device context, in the reverse order of their
    // making, and tells the picture thread to end (it gives back what it made by itself).
    return true;
}

void CRenderRun::RunFrameLoop(HDC dc, const RenderTimings& timings, const PictureScreens& screens,
                              const CDeskSpiral& spiral, CPictureHandoff* pictures) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    CFrameWaits waits(m_signals, frequency.QuadPart, !m_request.faults.noFineTimer);
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    CFramePacer pacer(IntervalTicks(timings.frameIntervalMs, frequency.QuadPart), counter.QuadPart, waits.Kind(),
                      IntervalTicks(1, frequency.QuadPart));
    CPhaseClock phases(timings, ::timeGetTime());
    const auto readCounter = [] {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        return static_cast<int64_t>(now.QuadPart);
    };
    const auto waitTicks = [&waits](int64_t ticks) { waits.WaitTicks(ticks); };
    const auto tick = [] { return static_cast<uint32_t>(::timeGetTime()); };

    const auto stopTest = [this] { return StopRequested(); };
    CPicturePhase picturePhase(CPictureAhead::PreparesAhead(screens.kinds.kinds));
    while (!StopRequested()) {
        // While the displays are off nothing is drawn. Once they show again the pacer finds the frame late and
        // waits the shortest wait: the spiral turns on at once, from the frame and phase where it stood (a phase
        // that ran out meanwhile ends at this frame, as after any long frame).
        waits.WhileDisplaysOff();
        pacer.Wait(readCounter, waitTicks, stopTest);
        if (StopRequested())
            break;
        const FrameAction action = phases.BeginFrame(tick());
        if (action == FrameAction::PresentSpiral) {
            spiral.Present(phases.FrameIndex(), dc);
            LetTheWindowShowTheDrawing();
        } else {
            // A picture phase never waits for its picture: it shows what is ready (see CPicturePhase).
            const bool ready = pictures != nullptr && pictures->Ready();
            switch (action == FrameAction::BeginPicture ? picturePhase.Begin(ready) : picturePhase.Next(ready)) {
            case PictureFrame::ShowReady: {
                // Prepared by the picture thread, the picture is only copied to every monitor now; its buffers go
                // back for the next one, which the picture thread prepares while this one is on the screen.
                std::vector<FittedPicture> picture;
                if (pictures->Take(picture)) {
                    ShowPicture(dc, picture, screens);
                    pictures->GiveBack(std::move(picture));
                    LetTheWindowShowTheDrawing();
                }
                break;
            }
            case PictureFrame::ShowBuiltIn:
                DrawPicture(dc, screens, nullptr);
                LetTheWindowShowTheDrawing();
                break;
            case PictureFrame::RequestAndSpiral:
                if (pictures != nullptr)
                    pictures->Request();
                [[fallthrough]];
            case PictureFrame::Spiral:
                spiral.Present(phases.FrameIndex(), dc);
                LetTheWindowShowTheDrawing();
                break;
            case PictureFrame::Nothing:
                break; // the picture stays as drawn
            }
        }
        phases.EndFrame(tick);
    }
}

} // namespace

CRenderThread::CRenderThread()
    : m_hStopEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_hDisplayChanged(::CreateEventA(nullptr, FALSE, FALSE, nullptr)), m_signals{m_bStopRequested, m_hStopEvent.Get(),
                                                                                   m_nDisplayState,
                                                                                   m_hDisplayChanged.Get()} {}

bool CRenderThread::Start(RenderRequest request) {
    // Without its events the thread could not wait for anything: it is not started.
    if (m_hRenderThread.IsValid() || request.faults.noThread || !m_hStopEvent.IsValid() || !m_hDisplayChanged.IsValid())
        return false;
    m_request = std::move(request);
    m_bStopRequested.store(0);
    ::ResetEvent(m_hStopEvent.Get());
    DWORD threadId = 0;
    m_hRenderThread.Reset(::CreateThread(nullptr, 0, &CRenderThread::ThreadProc, this, CREATE_SUSPENDED, &threadId));
    if (!m_hRenderThread.IsValid())
        return false;
    ::SetThreadPriority(m_hRenderThread.Get(), THREAD_PRIORITY_LOWEST);
    ::ResumeThread(m_hRenderThread.Get());
    return true;
}

void CRenderThread::Stop() {
    m_bStopRequested.store(1);
    if (m_hStopEvent.IsValid())
        ::SetEvent(m_hStopEvent.Get());
    // The handle stays ours until the wait has returned, so the wait always has a valid handle; after it the
    // thread is gone and the object can start another.
    if (m_hRenderThread.IsValid())
        WaitLettingSentMessagesThrough(m_hRenderThread.Get());
    m_hRenderThread.Reset();
}

void CRenderThread::SetDisplayState(DisplayState state) {
    m_nDisplayState.store(static_cast<LONG>(state));
    if (m_hDisplayChanged.IsValid())
        ::SetEvent(m_hDisplayChanged.Get());
}

DWORD WINAPI CRenderThread::ThreadProc(LPVOID param) {
    const CRenderThread* self = static_cast<const CRenderThread*>(param);
    // The picture decoder is a COM service. Without an apartment no picture decodes; the spiral still runs.
    // The apartment is left last, after the run has released every COM object it made.
    const CComApartment apartment(!self->m_request.faults.noComApartment);
    // Nothing may leave the thread: an exception here would end the process over a frozen topmost window, with
    // the system still told that a saver runs. The run has given back what it made by the time we catch, and
    // the window is closed the ordinary way, which ends the saver in both forms.
    try {
        CRenderRun(self->m_request, self->m_signals).Run();
        return 0;
    } catch (...) {
        LogFailure("render thread ended by an exception: %s", CaughtExceptionText());
    }
    ::PostMessageA(self->m_request.hWnd, WM_CLOSE, 0, 0);
    return 0;
}

void WaitLettingSentMessagesThrough(HANDLE handle) {
    for (;;) {
        DWORD rc = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (rc != WAIT_OBJECT_0 + 1)
            return; // the thread ended (or the handle is unusable: nothing left to wait for)
        MSG msg;
        // Peeking delivers pending sent messages; posted messages stay queued for the message loop.
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
