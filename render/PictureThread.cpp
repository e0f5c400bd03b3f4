#include "render/PictureThread.h"

#include <utility>

#include "fw/FailureLog.h"
#include "fw/Gdi.h"
#include "fw/Handles.h"
#include "render/PictureAhead.h"
#include "render/picture/PictureFolder.h"

namespace {

// Everything the picture thread uses is its own or shared with the render thread through the hand-off, so nothing
// it touches goes away while it runs, however long it outlives the run.
struct PictureWork {
    std::shared_ptr<CPictureHandoff> handoff;
    std::string picturePath;
    std::vector<PictureKind> kinds;
    bool enterApartment;
};

void PreparePictures(const PictureWork& w) {
    CPictureHandoff& handoff = *w.handoff;
    const auto stopRequested = [&handoff] { return handoff.StopRequested(); };
    // The decoder is a COM service; the window's device context is the render thread's, so pictures are decoded
    // with a memory surface of this thread.
    const CComApartment apartment(w.enterApartment);
    const CMemDC dc(nullptr);
    PictureList list;
    if (!BuildPictureList(w.picturePath, stopRequested, list))
        return;
    PictureWorkspace work;
    CPictureAhead pictures(list, w.kinds, work, stopRequested);
    std::vector<FittedPicture> picture;
    while (handoff.WaitForBuffers(picture)) {
        pictures.GiveBack(std::move(picture));
        if (!pictures.Ahead() && !handoff.WaitForRequest())
            return;
        if (!pictures.PrepareAhead(dc) || !pictures.TakePrepared(dc, picture))
            return;
        handoff.Publish(std::move(picture));
    }
}

DWORD WINAPI PictureThreadProc(LPVOID param) {
    const std::unique_ptr<PictureWork> work(static_cast<PictureWork*>(param));
    // Nothing may leave the thread. A failure here costs only the pictures: every phase shows the built-in one.
    try {
        PreparePictures(*work);
    } catch (...) {
        LogFailure("picture thread ended by an exception: %s", CaughtExceptionText());
    }
    return 0;
}

} // namespace

CPictureThread::CPictureThread(const std::string& picturePath, const std::vector<PictureKind>& kinds,
                               bool enterApartment)
    : m_handoff(std::make_shared<CPictureHandoff>()) {
    if (!m_handoff->IsUsable())
        return;
    auto work = std::make_unique<PictureWork>(PictureWork{m_handoff, picturePath, kinds, enterApartment});
    const CHandle thread(::CreateThread(nullptr, 0, &PictureThreadProc, work.get(), CREATE_SUSPENDED, nullptr));
    if (!thread.IsValid())
        return;
    work.release(); // the thread owns it now
    ::SetThreadPriority(thread.Get(), THREAD_PRIORITY_LOWEST);
    ::ResumeThread(thread.Get());
}

CPictureThread::~CPictureThread() {
    m_handoff->Stop();
}
