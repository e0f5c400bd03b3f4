#pragma once
// The picture of each picture phase, prepared while the still picture before it is on the screen.
#include <windows.h>

#include <functional>
#include <vector>

#include "render/picture/PictureList.h"
#include "render/picture/PictureScaler.h"
#include "render/picture/PictureSource.h"

// Takes a run's pictures from its list in the list's order and has the next phase's picture ready, read, decoded
// and fitted to every kind of monitor, so that a picture phase only copies it to the window and the spiral before it
// never stands still while a photo is decoded. The work moves to where a still picture is on the screen anyway: the
// first picture is prepared during the loading screen, each further one right after the picture before it is
// shown. If the file changes or goes away in between, what was prepared is shown.
class CPictureAhead {
public:
    // kinds are the distinct kinds of monitor (size and colour profile); work is the run's kept picture memory. Ahead
    // of their phase pictures are prepared only where any picture, fitted to every kind, fits within
    // kKeptWorkspaceBytes (each fitted copy is at most its monitor's size): a larger one would not be kept until its
    // phase, and is prepared at its phase.
    CPictureAhead(PictureList& list, const std::vector<PictureKind>& kinds, PictureWorkspace& work,
                  std::function<bool()> stopRequested);

    // Prepares the next phase's picture now, where pictures are prepared ahead and it is not ready yet; false
    // when a stop was requested during the preparation.
    bool PrepareAhead(HDC dc);
    // Hands out the next phase's picture, preparing it first if it is not ready; false on a stop.
    bool TakePrepared(HDC dc, std::vector<FittedPicture>& picture);
    // Takes the buffers of a picture that was shown back, for the next picture to reuse; where pictures are prepared
    // at their phase, whatever is more than the kept memory is given back to the system.
    void GiveBack(std::vector<FittedPicture> buffers);
    // At the start of a picture phase on this thread: shows the next picture on every monitor, preparing it first if
    // it is not ready. False on a stop, when nothing is shown.
    bool ShowNext(HDC dc, const PictureScreens& screens);
    // Whether pictures are prepared ahead of their phase (else at it).
    bool Ahead() const { return m_bAhead; }
    // The same for pictures fitted to kinds: where any picture fitted to all of them fits within the kept memory.
    static bool PreparesAhead(const std::vector<PictureKind>& kinds);

private:
    bool Prepare(HDC dc);

    PictureList& m_list;
    const std::vector<PictureKind> m_kinds;
    PictureWorkspace& m_work;
    const std::function<bool()> m_stopRequested;
    bool m_bAhead;         // pictures are prepared ahead of their phase
    bool m_bReady = false; // m_work.shown holds the next phase's picture, taken from the list
};
