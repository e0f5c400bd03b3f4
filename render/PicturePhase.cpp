#include "render/PicturePhase.h"

PictureFrame CPicturePhase::Begin(bool ready) {
    m_bWaiting = !ready;
    if (ready)
        return PictureFrame::ShowReady;
    return m_bAhead ? PictureFrame::ShowBuiltIn : PictureFrame::RequestAndSpiral;
}

PictureFrame CPicturePhase::Next(bool ready) {
    if (!m_bWaiting)
        return PictureFrame::Nothing;
    if (ready) {
        m_bWaiting = false;
        return PictureFrame::ShowReady;
    }
    // The built-in picture drawn at the start stays; without it the spiral turns on.
    return m_bAhead ? PictureFrame::Nothing : PictureFrame::Spiral;
}
