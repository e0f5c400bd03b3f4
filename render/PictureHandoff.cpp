#include "render/PictureHandoff.h"

#include <utility>

CPictureHandoff::CPictureHandoff() : m_hWake(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

bool CPictureHandoff::Ready() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_finished.has_value();
}

bool CPictureHandoff::Take(std::vector<FittedPicture>& picture) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_finished)
        return false;
    picture = std::move(*m_finished);
    m_finished.reset();
    return true;
}

void CPictureHandoff::GiveBack(std::vector<FittedPicture> buffers) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_returned = std::move(buffers);
    }
    ::SetEvent(m_hWake.Get());
}

void CPictureHandoff::Request() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_bRequested = true;
    }
    ::SetEvent(m_hWake.Get());
}

void CPictureHandoff::Stop() {
    m_bStop.store(true);
    ::SetEvent(m_hWake.Get());
}

template <typename Test> bool CPictureHandoff::WaitUntil(Test test) {
    for (;;) {
        if (StopRequested())
            return false;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (test())
                return true;
        }
        // Every change is made before the event is set: one made between the test and the wait ends the wait.
        ::WaitForSingleObject(m_hWake.Get(), INFINITE);
    }
}

bool CPictureHandoff::WaitForBuffers(std::vector<FittedPicture>& buffers) {
    return WaitUntil([&] {
        if (!m_returned)
            return false;
        buffers = std::move(*m_returned);
        m_returned.reset();
        return true;
    });
}

bool CPictureHandoff::WaitForRequest() {
    return WaitUntil([&] { return std::exchange(m_bRequested, false); });
}

void CPictureHandoff::Publish(std::vector<FittedPicture> picture) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_finished = std::move(picture);
}
