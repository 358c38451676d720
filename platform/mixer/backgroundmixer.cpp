#include "platform/mixer/backgroundmixer.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace platform {

namespace {

/** Runs a function when the event posted to it arrives. */
class TurnEnd : public QObject
{
public:
    explicit TurnEnd(std::function<void()> action) : m_action(std::move(action)) {}

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        m_action();
        return true;
    }

private:
    std::function<void()> m_action;
};

} // namespace

/** Counts of the values asked for and of those written; equal when the writes are done. */
struct BackgroundMixer::Counters
{
    std::atomic<quint64> asked{0};
    std::atomic<quint64> written{0};
    std::atomic<quint32> askedValue{0};   // the last value asked for
    std::atomic<quint32> writtenValue{0}; // the last value written, or read at open()
};

/** One open mixer and its writer thread; the thread keeps it alive until it has closed it. */
struct BackgroundMixer::Session
{
    struct Write
    {
        quint32 value;
        quint64 serial; // the count of values asked for when this one was handed over
    };

    std::unique_ptr<Mixer> mixer;
    std::shared_ptr<Counters> counters;
    bool threaded = true;
    quint64 handedOver = 0; // the owner's thread only

    std::mutex mutex;
    std::condition_variable changed;
    std::optional<Write> waiting;
    bool stopping = false;
    bool finished = false; // the writer has closed the mixer and ended
    bool detached = false; // closed: the writer no longer counts its writes

    static void write(const std::shared_ptr<Session> &session);
};

void BackgroundMixer::Session::write(const std::shared_ptr<Session> &session)
{
    std::unique_lock lock(session->mutex);
    for (;;) {
        session->changed.wait(lock, [&] { return session->waiting || session->stopping; });
        if (!session->waiting)
            break;
        const Write next = *session->waiting;
        session->waiting.reset();
        lock.unlock();
        session->mixer->setVolume(next.value);
        lock.lock();
        if (!session->detached) {
            session->counters->writtenValue.store(next.value);
            session->counters->written.store(next.serial);
        }
        session->changed.notify_all();
    }
    lock.unlock();
    session->mixer->close();
    lock.lock();
    session->finished = true;
    session->changed.notify_all();
}

BackgroundMixer::BackgroundMixer(Factory makeMixer, std::chrono::milliseconds closeDeadline)
    : m_makeMixer(std::move(makeMixer)),
      m_closeDeadline(closeDeadline),
      m_counters(std::make_shared<Counters>()),
      m_turns(std::make_unique<TurnEnd>([this] {
          m_handOverDue = false;
          handOver();
      }))
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
    session->counters = m_counters;
    session->handedOver = m_counters->asked.load();
    m_counters->writtenValue.store(session->mixer->volume());
    m_counters->askedValue.store(m_counters->writtenValue.load());
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
    handOver();
    const std::shared_ptr<Session> session = std::move(m_session);
    if (!session)
        return;
    if (session->threaded) {
        std::unique_lock lock(session->mutex);
        session->stopping = true;
        session->changed.notify_all();
        // A write still hung after the deadline is left to its thread, which then closes the mixer.
        session->changed.wait_for(lock, m_closeDeadline, [&] { return session->finished; });
        session->detached = true;
    } else {
        session->mixer->close();
    }
    // Nothing asked for is on its way any more.
    m_counters->writtenValue.store(m_counters->askedValue.load());
    m_counters->written.store(m_counters->asked.load());
}

quint32 BackgroundMixer::volume() const
{
    if (!m_session)
        return 0;
    Session &session = *m_session;
    if (!session.threaded)
        return session.mixer->volume();
    // Held while reading: with every write done, the writer stays out of the mixer meanwhile.
    const std::lock_guard lock(session.mutex);
    if (!settled())
        return m_counters->askedValue.load();
    return session.mixer->volume();
}

void BackgroundMixer::setVolume(quint32 value)
{
    if (!m_session)
        return;
    Session &session = *m_session;
    m_counters->askedValue.store(std::min(value, MaxVolume));
    const quint64 serial = m_counters->asked.fetch_add(1) + 1;
    if (!session.threaded) {
        session.mixer->setVolume(value);
        m_counters->writtenValue.store(std::min(value, MaxVolume));
        m_counters->written.store(serial);
        return;
    }
    if (!m_handOverDue) {
        m_handOverDue = true;
        // Ahead of the repaints the same handler asked for: the server's round trip starts first.
        QCoreApplication::postEvent(m_turns.get(), new QEvent(QEvent::User), Qt::HighEventPriority);
    }
}

bool BackgroundMixer::settled() const
{
    return m_counters->written.load() == m_counters->asked.load();
}

bool BackgroundMixer::lowering() const
{
    return !settled() && m_counters->askedValue.load() < m_counters->writtenValue.load();
}

void BackgroundMixer::handOver()
{
    if (!m_session || !m_session->threaded)
        return;
    Session &session = *m_session;
    const quint64 serial = m_counters->asked.load();
    if (serial == session.handedOver)
        return;
    session.handedOver = serial;
    const std::lock_guard lock(session.mutex);
    session.waiting = Session::Write{m_counters->askedValue.load(), serial};
    session.changed.notify_all();
}

bool BackgroundMixer::waitForWrites(std::chrono::milliseconds deadline)
{
    handOver();
    if (!m_session)
        return true;
    Session &session = *m_session;
    std::unique_lock lock(session.mutex);
    return session.changed.wait_for(lock, deadline, [&] { return settled(); });
}

} // namespace platform
