#pragma once
// Where a run's render thread and its picture thread meet.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

#include "fw/Handles.h"
#include "render/picture/PictureScaler.h"

// One finished picture at a time, passed from the picture thread to the render thread, and its buffers passed back
// once it is shown; the request of a phase that prepares its picture at the phase; and the stop. Both threads hold
// it (shared ownership): whichever ends last frees it, so the render thread never waits for the picture thread,
// which a drive that does not answer may hold for minutes inside one call.
class CPictureHandoff {
public:
    CPictureHandoff();
    CPictureHandoff(const CPictureHandoff&) = delete;
    CPictureHandoff& operator=(const CPictureHandoff&) = delete;
    // False when the event the picture thread waits on could not be made: no picture thread can run.
    bool IsUsable() const { return m_hWake.IsValid(); }

    // The render thread's side, none of which waits for the picture thread.
    bool Ready() const;
    // Takes the finished picture; false when none is ready.
    bool Take(std::vector<FittedPicture>& picture);
    // The buffers of the picture taken last, once it is shown: the picture thread prepares the next one in them.
    void GiveBack(std::vector<FittedPicture> buffers);
    // A phase that prepares its picture at the phase asks for it.
    void Request();
    // The run ends: the picture thread ends as soon as its current call returns.
    void Stop();

    // The picture thread's side.
    bool StopRequested() const { return m_bStop.load(); }
    // Waits until the last picture's buffers are back (at once before the first picture); false on a stop.
    bool WaitForBuffers(std::vector<FittedPicture>& buffers);
    // Waits until a phase asks for its picture; false on a stop.
    bool WaitForRequest();
    void Publish(std::vector<FittedPicture> picture);

private:
    // Waits until test() holds under the lock; false on a stop.
    template <typename Test> bool WaitUntil(Test test);

    mutable std::mutex m_mutex;
    std::optional<std::vector<FittedPicture>> m_finished;
    std::optional<std::vector<FittedPicture>> m_returned{std::vector<FittedPicture>()};
    bool m_bRequested = false;
    std::atomic<bool> m_bStop{false};
    CHandle m_hWake; // auto-reset: set whenever the render thread changes something the picture thread waits for
};
