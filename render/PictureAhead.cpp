#include "render/PictureAhead.h"

#include <string>
#include <utility>

#include "render/picture/PictureSource.h"

CPictureAhead::CPictureAhead(PictureList& list, const std::vector<PictureKind>& kinds, PictureWorkspace& work,
                             std::function<bool()> stopRequested)
    : m_list(list), m_kinds(kinds), m_work(work), m_stopRequested(std::move(stopRequested)),
      m_bAhead(PreparesAhead(kinds)) {}

bool CPictureAhead::PreparesAhead(const std::vector<PictureKind>& kinds) {
    size_t mostFitted = 0;
    for (const PictureKind& kind : kinds)
        mostFitted += static_cast<size_t>(kind.w) * static_cast<size_t>(kind.h) * sizeof(uint32_t);
    return mostFitted <= kKeptWorkspaceBytes;
}

bool CPictureAhead::Prepare(HDC dc) {
    if (m_bReady)
        return true;
    // A stop ends the run, so a preparation cut short is never taken up again.
    const std::wstring* path = m_list.TakeNext();
    if (PreparePicture(dc, m_kinds, path != nullptr ? path->c_str() : nullptr, m_stopRequested, m_work) ==
        PrepareResult::Stopped)
        return false;
    m_bReady = true;
    return true;
}

bool CPictureAhead::PrepareAhead(HDC dc) {
    if (!m_bAhead)
        return true;
    const bool prepared = Prepare(dc);
    // The picture as shown is kept first and whole: it fits, as pictures are prepared ahead only where it does.
    m_work.KeepWithin(kKeptWorkspaceBytes);
    return prepared;
}

bool CPictureAhead::TakePrepared(HDC dc, std::vector<FittedPicture>& picture) {
    if (!Prepare(dc))
        return false;
    picture = std::move(m_work.shown);
    m_work.shown.clear();
    m_bReady = false;
    return true;
}

void CPictureAhead::GiveBack(std::vector<FittedPicture> buffers) {
    m_work.shown = std::move(buffers);
    if (!m_bAhead)
        m_work.KeepWithin(kKeptWorkspaceBytes);
}

bool CPictureAhead::ShowNext(HDC dc, const PictureScreens& screens) {
    std::vector<FittedPicture> picture;
    if (!TakePrepared(dc, picture))
        return false;
    ShowPicture(dc, picture, screens);
    GiveBack(std::move(picture));
    return true;
}
