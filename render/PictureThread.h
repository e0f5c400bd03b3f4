#pragma once
// The picture thread of a render run: every file-system call of the pictures happens there.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "render/PictureHandoff.h"
#include "render/picture/PictureKinds.h"

// Starts a run's picture thread and tells it to stop when the run ends. The thread builds the picture list from
// the picture setting (the path's attributes, the folder search) and reads, decodes and fits each picture, one at a
// time, handing it over through the hand-off; it runs at the lowest priority in a COM apartment of its own. Nobody
// waits for it: a drive that stops answering holds only it, and it ends by itself, giving back what it made, as
// soon as its current call returns.
class CPictureThread {
public:
    // kinds are the distinct kinds of monitor (size and colour profile). enterApartment false stands for a thread that
    // cannot enter a COM apartment (a test's fault). Without a thread (it cannot be started) no picture is ever ready.
    CPictureThread(const std::string& picturePath, const std::vector<PictureKind>& kinds, bool enterApartment);
    ~CPictureThread();
    CPictureThread(const CPictureThread&) = delete;
    CPictureThread& operator=(const CPictureThread&) = delete;

    CPictureHandoff& Handoff() { return *m_handoff; }

private:
    std::shared_ptr<CPictureHandoff> m_handoff;
};
