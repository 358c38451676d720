#include "platform/mixer/backgroundmixer.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace platform {

/** One open mixer and its writer thread; the thread keeps it alive until it has closed it. */
struct BackgroundMixer::Session
{
    std::unique_ptr<Mixer> mixer;
    bool threaded = true;

    std::mutex mutex;
    std::condition_variable changed;
    std::optional<quint32> waiting; // the next value to write
    bool writing = false;           // the writer is inside the mixer
    quint32 asked = 0;              // the last value asked for
    bool stopping = false;
    bool finished = false; // the writer has closed the mixer and ended

    static void write(const std::shared_ptr<Session> &session);
};

void BackgroundMixer::Session::write(const std::shared_ptr<Session> &session)
{
    std::unique_lock lock(session->mutex);
    for (;;) {
        session->changed.wait(lock, [&] { return session->waiting || session->stopping; });
        if (!session->waiting)
            break;
        const quint32 value = *session->waiting;
        session->waiting.reset();
        session->writing = true;
        lock.unlock();
        session->mixer->setVolume(value);
        lock.lock();
        session->writing = false;
        session->changed.notify_all();
    }
    lock.unlock();
    session->mixer->close();
    lock.lock();
    session->finished = true;
    session->changed.notify_all();
}

BackgroundMixer::BackgroundMixer(Factory makeMixer, std::chrono::milliseconds closeDeadline)
    : m_makeMixer(std::move(makeMixer)), m_closeDeadline(closeDeadline)
{
}

BackgroundMixer::~BackgroundMixer() { close(); }

bool BackgroundMixer::open()
{
    close();
    std::unique_ptr<Mixer> mixer = m_makeMixer();
    if (!mixer || !mixer->open())
        return false;
    auto session = std::make_shared<Session>();
    session->mixer = std::move(mixer);
    try {
        std::thread(&Session::write, session).detach();
    } catch (const std::system_error &) {
        // No thread to spare: write on the caller's thread rather than give up the volume.
        session->threaded = false;
    }
    m_session = std::move(session);
    return true;
}

void BackgroundMixer::close()
{
    const std::shared_ptr<Session> session = std::move(m_session);
    if (!session)
        return;
    if (!session->threaded) {
        session->mixer->close();
        return;
    }
    std::unique_lock lock(session->mutex);
    session->stopping = true;
    session->changed.notify_all();
    // A write still hung after the deadline is left to its thread, which then closes the mixer.
    session->changed.wait_for(lock, m_closeDeadline, [&] { return session->finished; });
}

quint32 BackgroundMixer::volume() const
{
    if (!m_session)
        return 0;
    Session &session = *m_session;
    if (!session.threaded)
        return session.mixer->volume();
    // Held while reading, so the writer cannot enter the mixer meanwhile.
    const std::lock_guard lock(session.mutex);
    if (session.waiting || session.writing)
        return session.asked;
    return session.mixer->volume();
}

bool BackgroundMixer::waitForWrites(std::chrono::milliseconds deadline) const
{
    if (!m_session || !m_session->threaded)
        return true;
    Session &session = *m_session;
    std::unique_lock lock(session.mutex);
    return session.changed.wait_for(lock, deadline,
                                    [&] { return !session.waiting && !session.writing; });
}

void BackgroundMixer::setVolume(quint32 value)
{
    if (!m_session)
        return;
    Session &session = *m_session;
    if (!session.threaded) {
        session.mixer->setVolume(value);
        return;
    }
    const std::lock_guard lock(session.mutex);
    session.asked = std::min(value, MaxVolume);
    session.waiting = value;
    session.changed.notify_all();
}

} // namespace platform
