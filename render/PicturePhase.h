#pragma once
// What the frames of a picture phase show, given whether the picture thread has the next picture ready.
// Platform-free: the render thread asks, draws what it is told and never waits for the picture thread.

// What one frame of a picture phase draws.
enum class PictureFrame {
    Nothing,          // the picture on the screen stays
    ShowReady,        // take the ready picture and copy it to every monitor
    ShowBuiltIn,      // draw the built-in picture (from the executable: no drive involved)
    RequestAndSpiral, // ask the picture thread for the phase's picture and present a spiral frame meanwhile
    Spiral,           // present a spiral frame: the phase's picture is still being prepared
};

// The pictures of a run come from a drive that may answer late or not at all (a sleeping network drive), so a phase
// never waits for its picture. Pictures prepared ahead: a phase whose picture is ready shows it at once; one whose
// picture is not ready (the folder search or the read still under way) shows the built-in picture, as a picture
// that cannot be opened does, and then the picture it waited for as soon as it is ready, in the same phase or at
// a later one: nothing is skipped and the list's order holds. Pictures prepared at their phase (desks too large to
// keep one prepared between phases): the phase asks for its picture at its first frame, and the spiral turns on until
// it is ready; then the picture shows for the rest of the phase (or from the next phase's start, if it came later).
class CPicturePhase {
public:
    explicit CPicturePhase(bool preparedAhead) : m_bAhead(preparedAhead) {}

    // The first frame of a picture phase.
    PictureFrame Begin(bool ready);
    // Every further frame of the same phase.
    PictureFrame Next(bool ready);

private:
    bool m_bAhead;
    bool m_bWaiting = false; // the phase has not yet shown its own picture
};
